# The counting of the black-box scripts' checks, sourced by them:
#   check NAME EXPECTED ACTUAL  passes when the two texts are the same, else
#                               names the check and shows how they differ
#   pass, fail NAME             a check passed, or failed
#   exists PATH                 prints yes or no
#   finish WHAT                 prints the counts; fails when a check did
failures=0
passes=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { passes=$((passes + 1)); }
check() {
  if [[ "$2" == "$3" ]]; then
    pass
  else
    fail "$1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | head -20
  fi
}
exists() { [[ -e "$1" ]] && echo yes || echo no; }
finish() {
  echo "$1: $passes passed, $failures failed"
  [[ $failures -eq 0 ]]
}
