#!/bin/bash
# Builds everything (native, the plain build with Debian's default compiler,
# Windows x86_64, Windows i686) and runs every test this machine can run:
# sanitized unit tests, command-line checks, fuzz runs, the Windows programs'
# tests under Wine on a virtual display (the Windows tool's outputs compared
# with the native tool's), the packages and the README's pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
install_packages
trap stop_background EXIT

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== the plain build with Debian's default compiler (GCC), and its tests"
cmake -B build/gcc >/dev/null
cmake --build build/gcc --parallel 2
ctest --test-dir build/gcc --output-on-failure

echo "== the libraries of the Windows builds"
tools/windows-libraries.sh x86_64 i686

echo "== Windows x86_64 build and tests (Wine)"
start_virtual_display
start_wine
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64
ctest --preset mingw64

echo "== Windows i686 build (cannot run on this machine; its maths are read)"
cmake --preset mingw32 >/dev/null
cmake --build --preset mingw32
ctest --preset mingw32

echo "== packages: made twice, unpacked and run"
tests/packages/package_test.sh

echo "== the README's pictures: drawn again and compared"
tools/screenshots.sh --check

echo "== all builds and tests done"
