#!/bin/bash
# Builds the libraries the Windows programs link statically, for each
# architecture named (x86_64, i686; both by default), into
# build/windows-libraries/ARCH: libdeflate, libspng, libsndfile with its FLAC,
# Ogg, Vorbis and Opus codecs, and libsamplerate. zlib comes from Debian's
# MinGW package. Each is Debian's source package of the very version the
# native build links, fetched with `apt-get source` and built with the
# project's MinGW toolchain files, so both platforms run the same library
# code. i686 builds with SSE2 maths, as the toolchain file says, so that its
# floating point gives the bytes x86_64 gives.
#
# A finished architecture holds a stamp of the versions and of this script;
# while it matches, nothing is fetched or built again. Needs root for apt.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
install_packages
root=$PWD
top=$root/build/windows-libraries
sources=$top/src

# Source package, and the native package whose installed version it must be.
packages=(
  "libdeflate libdeflate-dev"
  "libspng libspng-dev"
  "libogg libogg-dev"
  "libvorbis libvorbis-dev"
  "flac libflac-dev"
  "opus libopus-dev"
  "libsndfile libsndfile1-dev"
  "libsamplerate libsamplerate0-dev"
)

# The native build's versions, one "source=version" a line.
versions() {
  local source native
  for pair in "${packages[@]}"; do
    read -r source native <<<"$pair"
    echo "$source=$(dpkg-query -W -f='${source:Version}' "$native")"
  done
}

# Debian's source index, from the same archive as the binary one.
enable_sources() {
  local list=/etc/apt/sources.list.d/tessarine-sources.sources
  if ! apt-cache showsrc libsndfile 2>/dev/null | grep -q '^Package:'; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$list"
    apt-get -o DPkg::Lock::Timeout=600 update -qq
  fi
}

# The unpacked, patched sources of SOURCE=VERSION; prints their folder.
fetch() {
  local source=${1%%=*} version=${1#*=}
  local upstream=${version#*:}
  upstream=${upstream%-*}
  local dir=$sources/$source-$upstream
  if [[ ! -f "$dir/.fetched-$version" ]]; then
    rm -rf "$dir"
    mkdir -p "$sources"
    (cd "$sources" && apt-get source -qq "$source=$version" >/dev/null 2>&1) || {
      echo "windows-libraries.sh: apt-get source $source=$version failed" >&2
      return 1
    }
    touch "$dir/.fetched-$version"
  fi
  echo "$dir"
}

# cmake_build ARCH TOOLCHAIN SOURCE_DIR OPTIONS...: configure, build and install.
cmake_build() {
  local arch=$1 toolchain=$2 dir=$3
  shift 3
  local work=$top/work-$arch/$(basename "$dir")
  rm -rf "$work"
  cmake -S "$dir" -B "$work" -G Ninja -Wno-dev --toolchain "$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$top/$arch" -DBUILD_SHARED_LIBS=OFF \
    -DBUILD_TESTING=OFF "$@" >"$work.log" 2>&1 &&
    cmake --build "$work" >>"$work.log" 2>&1 && cmake --install "$work" >>"$work.log" 2>&1 || {
    tail -40 "$work.log" >&2
    echo "windows-libraries.sh: building $(basename "$dir") for $arch failed (log: $work.log)" >&2
    return 1
  }
}

build_arch() {
  local arch=$1 stamp=$top/$arch/.stamp
  local toolchain=$root/cmake/mingw64.cmake
  [[ $arch == x86_64 ]] || toolchain=$root/cmake/mingw32.cmake
  local want
  want="$(versions)
$(sha256sum "$root/tools/windows-libraries.sh" "$toolchain" | cut -d' ' -f1)"
  if [[ -f "$stamp" && "$(cat "$stamp")" == "$want" ]]; then
    echo "== Windows libraries for $arch: built already"
    return 0
  fi
  echo "== Windows libraries for $arch: building"
  rm -rf "${top:?}/$arch" "$top/work-$arch"
  mkdir -p "$top/$arch" "$top/work-$arch"
  declare -A dir
  local line
  while read -r line; do
    dir[${line%%=*}]=$(fetch "$line")
  done < <(versions)
  local flags
  flags=$(sed -n 's/^set(TESSARINE_ARCH_FLAGS "\(.*\)")$/\1/p' "$toolchain")

  # libdeflate 1.14 builds with its own Makefile, which knows MinGW; its
  # static library takes the name the linker looks for, and its gzip
  # program is not needed.
  local deflate=$top/work-$arch/libdeflate
  cp -r "${dir[libdeflate]}" "$deflate"
  make -C "$deflate" -j2 CC="$arch-w64-mingw32-gcc-posix" AR="$arch-w64-mingw32-ar" CFLAGS="-O2 $flags" PREFIX="$top/$arch" \
    DISABLE_SHARED=1 install >"$deflate.log" 2>&1 || {
    tail -40 "$deflate.log" >&2
    echo "windows-libraries.sh: building libdeflate for $arch failed (log: $deflate.log)" >&2
    return 1
  }
  mv "$top/$arch/lib/libdeflatestatic.lib" "$top/$arch/lib/libdeflate.a"
  rm -rf "${top:?}/$arch/bin"

  # libspng's CMake file builds the static library beside the shared one
  # and writes its .pc file for the shared one, named otherwise than
  # Debian's: the static library takes the shared one's name, the .pc file
  # Debian's name, and its users the definition the static library needs.
  cmake_build "$arch" "$toolchain" "${dir[libspng]}" -DSPNG_SHARED=ON -DSPNG_STATIC=ON -DBUILD_EXAMPLES=OFF
  rm -rf "$top/$arch/lib/libspng.dll" "$top/$arch/lib/libspng.dll.a" "${top:?}/$arch/bin"
  mv "$top/$arch/lib/libspng_static.a" "$top/$arch/lib/libspng.a"
  sed 's/^Cflags: .*/& -DSPNG_STATIC/' "$top/$arch/lib/pkgconfig/libspng.pc" >"$top/$arch/lib/pkgconfig/spng.pc"
  rm "$top/$arch/lib/pkgconfig/libspng.pc"

  cmake_build "$arch" "$toolchain" "${dir[libogg]}" -DINSTALL_DOCS=OFF
  cmake_build "$arch" "$toolchain" "${dir[libvorbis]}"
  cmake_build "$arch" "$toolchain" "${dir[flac]}" -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF
  # Opus 1.3.1's CMake file includes a file its release left out: it builds
  # with its configure script, with the options Debian gives it.
  local opus=$top/work-$arch/opus
  mkdir -p "$opus"
  (cd "$opus" && "${dir[opus]}/configure" --host="$arch-w64-mingw32" CC="$arch-w64-mingw32-gcc-posix" \
    CFLAGS="-O2 $flags" --prefix="$top/$arch" --disable-shared --disable-doc --disable-extra-programs \
    --enable-custom-modes && make -j2 && make install) >"$opus.log" 2>&1 || {
    tail -40 "$opus.log" >&2
    echo "windows-libraries.sh: building opus for $arch failed (log: $opus.log)" >&2
    return 1
  }
  # FLAC's headers declare its functions as a DLL's unless told otherwise.
  CFLAGS=-DFLAC__NO_DLL cmake_build "$arch" "$toolchain" "${dir[libsndfile]}" -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DENABLE_MPEG=OFF \
    -DENABLE_CPACK=OFF
  cmake_build "$arch" "$toolchain" "${dir[libsamplerate]}" -DLIBSAMPLERATE_EXAMPLES=OFF

  rm -rf "$top/work-$arch"
  echo "$want" >"$stamp"
}

enable_sources
[[ $# -gt 0 ]] || set -- x86_64 i686
for arch in "$@"; do
  build_arch "$arch"
done
