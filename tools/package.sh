#!/bin/bash
# Builds the packages a user downloads, into dist/:
#   tessarine-VERSION-win64.zip, tessarine-VERSION-win32.zip
#       tessarine.exe, tessarine-cli.exe and README.txt, stripped
#   tessarine-cli_VERSION_amd64.deb
#       the native command-line tool and its manual page
# CPack makes them, with every time in them set to the commit's (or to
# SOURCE_DATE_EPOCH when that is given) and a fixed order, so that the same
# commit gives the same bytes. A package reaches dist/ only whole: CPack
# writes under build/, and the finished file is renamed into dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
install_packages
tools/windows-libraries.sh

SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH TZ=UTC
# Only this run's packages: after a failure none is left that looks new.
rm -rf dist
mkdir dist

# package PRESET TARGETS...: builds the targets, has CPack make the preset's
# package and moves it into dist/.
package() {
  local preset=$1
  shift
  echo "== $preset: building and packaging"
  cmake --preset "$preset" >/dev/null || {
    echo "package.sh: configuring $preset failed" >&2
    exit 1
  }
  cmake --build --preset "$preset" --target "$@" || {
    echo "package.sh: the $preset build failed" >&2
    exit 1
  }
  local staging=$PWD/build/$preset/packages
  rm -rf "$staging"
  if ! (cd "build/$preset" && cpack -B "$staging" >"$staging.log" 2>&1); then
    cat "$staging.log" >&2
    echo "package.sh: CPack failed for $preset" >&2
    exit 1
  fi
  local made
  made=$(find "$staging" -maxdepth 1 -type f \( -name '*.zip' -o -name '*.deb' \))
  if [[ $(wc -l <<<"$made") -ne 1 || -z "$made" ]]; then
    echo "package.sh: CPack made not one package for $preset: $made" >&2
    exit 1
  fi
  # CPack's zip takes the files' times and the folder's order; Debian's
  # tool for reproducible packages sets both (the .deb has them already).
  if [[ "$made" == *.zip ]]; then
    strip-nondeterminism --type zip --timestamp "$SOURCE_DATE_EPOCH" "$made"
  fi
  mv "$made" dist/
}

# The manual page is dated by SOURCE_DATE_EPOCH only when it is made with it.
rm -f build/native/cli/tessarine-cli.1.gz
package native tessarine-cli tessarine-cli-manpage
package mingw64 tessarine tessarine-cli
package mingw32 tessarine tessarine-cli
echo "== packages"
ls -l dist
