#!/bin/bash
# The packages of tools/package.sh as a user meets them, run by tools/test.sh
# after the three builds, with Wine and an X display ready:
# - made twice, the second time from executables with new file times, they
#   are the same bytes;
# - each zip holds exactly the two programs, stripped, and a README.txt with
#   Windows line ends; the 64-bit viewer from it, unpacked into a folder with
#   blanks and Cyrillic letters, opens the sample under Wine; the programs
#   need no DLL but Windows' own;
# - the .deb names what it needs, holds the tool and its manual page, and
#   the tool unpacked from it into a scratch root reads the sample.
set -u
cd "$(dirname "$0")/../.."
work=$PWD/build/package_test
rm -rf "$work"
mkdir -p "$work"
source tests/support/checks.sh
has() { [[ "$1" == *"$2"* ]]; } # has TEXT PART
holds() { # holds DESCRIPTION COMMAND...: passes when COMMAND succeeds
  local what=$1
  shift
  if "$@"; then pass; else fail "$what"; fi
}

if ! tools/package.sh >"$work/package.log" 2>&1; then
  cat "$work/package.log"
  echo "FAIL: tools/package.sh"
  exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/native/CMakeCache.txt)
zip64=dist/tessarine-$version-win64.zip
zip32=dist/tessarine-$version-win32.zip
deb=dist/tessarine-cli_${version}_amd64.deb
sample=$PWD/build/native/sample/vswap.wl6

mkdir "$work/first"
cp dist/* "$work/first/"
touch build/mingw64/app/tessarine.exe build/mingw64/cli/tessarine-cli.exe build/mingw32/app/tessarine.exe \
  build/mingw32/cli/tessarine-cli.exe build/native/cli/tessarine-cli
if tools/package.sh >"$work/package.log" 2>&1; then
  for package in "$zip64" "$zip32" "$deb"; do
    holds "$package: not the same when made again" cmp -s "$package" "$work/first/${package#dist/}"
  done
else
  cat "$work/package.log"
  fail "tools/package.sh, second run"
fi

# --- The zips ----------------------------------------------------------------

# no_symbols TOOL_PREFIX EXE: stripped of symbols and debugging sections.
no_symbols() {
  [[ -z "$("$1-nm" "$2" 2>/dev/null)" ]] && ! "$1-objdump" -h "$2" | grep -q '\.debug'
}
# only_system_dlls TOOL_PREFIX EXE: every DLL the import table names comes
# with Windows; the libraries (C++ runtime, PNG, sound) are linked in.
only_system_dlls() {
  local dlls
  dlls=$("$1-objdump" -p "$2" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
  [[ -n "$dlls" ]] && ! grep -vxE 'kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|msimg32|msvcrt' \
    <<<"${dlls//.dll/}"
}
for pair in "$zip64 x86_64-w64-mingw32" "$zip32 i686-w64-mingw32"; do
  read -r zip tools <<<"$pair"
  holds "$zip: not exactly the two programs and README.txt" \
    [ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" == "README.txt tessarine-cli.exe tessarine.exe " ]
  dir=$work/$(basename "$zip" .zip)
  unzip -q "$zip" -d "$dir"
  holds "$zip: README.txt has a line without CR LF" [ "$(grep -vc $'\r$' "$dir/README.txt")" == 0 ]
  holds "$zip: README.txt names both programs" grep -q 'tessarine-cli.exe --help' "$dir/README.txt"
  for exe in tessarine.exe tessarine-cli.exe; do
    holds "$zip: $exe is not stripped" no_symbols "$tools" "$dir/$exe"
    holds "$zip: $exe needs a DLL that is not Windows' own" only_system_dlls "$tools" "$dir/$exe"
  done
done

export LC_ALL=C.UTF-8 # Cyrillic paths cross between Linux and Wine as UTF-8
folder="$work/Программы Tessarine"
mv "$work/tessarine-$version-win64" "$folder"
holds "tessarine-cli.exe from the zip: no version" \
  [ "$(wine "$folder/tessarine-cli.exe" --version 2>/dev/null | tr -d '\r')" == "tessarine-cli $version" ]

probe=build/mingw64/tests/blackbox/probe.exe
wine "$folder/tessarine.exe" "$(winepath -w "$sample" 2>/dev/null)" >/dev/null 2>&1 &
viewer=$!
view=""
for _ in $(seq 100); do
  view=$(wine "$probe" view 2>/dev/null | tr -d '\r')
  grep -qx 'tree 549' <<<"$view" && break
  kill -0 "$viewer" 2>/dev/null || break
  sleep 0.3
done
holds "tessarine.exe from the zip: the sample not shown (view: $view)" grep -qx 'tree 549' <<<"$view"
for _ in $(seq 50); do
  kill -0 "$viewer" 2>/dev/null || break
  wine "$probe" close >/dev/null 2>&1
  sleep 0.3
done
kill "$viewer" 2>/dev/null
wait "$viewer"

# --- The .deb ------------------------------------------------------------------

info=$(dpkg-deb --info "$deb")
holds "$deb: not the package tessarine-cli" has "$info" $'\n Package: tessarine-cli\n'
holds "$deb: not version $version" has "$info" $'\n Version: '"$version"$'\n'
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for needed in libc6 libspng0 libdeflate0; do
  holds "$deb: does not depend on $needed ($depends)" grep -qE "(^|, )$needed( |,|$)" <<<"$depends"
done
holds "$deb: depends on libpng, which the tool does not use ($depends)" \
  [ -z "$(grep -o 'libpng[^ ,]*' <<<"$depends")" ]
for name in $(tr ',' '\n' <<<"$depends" | sed 's/ *(.*//; s/^ *//'); do
  holds "$deb: needs $name, which is not installed" dpkg-query -W "$name" >/dev/null 2>&1
done
holds "$deb: does not hold exactly the tool and its manual page" \
  [ "$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | tr '\n' ' ')" == \
  "./usr/bin/tessarine-cli ./usr/share/man/man1/tessarine-cli.1.gz " ]
root=$work/root
dpkg -x "$deb" "$root"
holds "$deb: the tool's info differs from the build's" \
  [ "$("$root/usr/bin/tessarine-cli" info "$sample" 2>&1)" == "$(build/native/cli/tessarine-cli info "$sample")" ]
holds "$deb: the manual page is not of tessarine-cli $version" \
  grep -q "^\.TH TESSARINE-CLI \"1\" .* \"tessarine-cli $version\"" <(zcat "$root/usr/share/man/man1/tessarine-cli.1.gz")

finish packages
