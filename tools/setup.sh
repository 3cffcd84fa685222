# Shared set-up for the project's scripts; source it, don't run it.

# Debian packages the build, the tests and the viewer need. wine32 is left
# out on purpose: with it installed the wine wrapper picks the 32-bit loader,
# which this kind of machine cannot run.
TESSARINE_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev libspng-dev libdeflate-dev pkgconf
  libsndfile1-dev libsamplerate0-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev make
  wine wine64 fonts-wine xvfb x11-utils xdotool imagemagick fonts-liberation time python3
  help2man dpkg-dev strip-nondeterminism unzip
)

# Once per run: scripts that call one another install only in the first.
install_packages() {
  [[ -z "${TESSARINE_PACKAGES_READY:-}" ]] || return 0
  echo "== installing packages"
  export DEBIAN_FRONTEND=noninteractive
  # Another script of this machine may hold apt's locks for a while: wait
  # for them rather than fail. The index update does not wait by itself.
  local wait=(-o DPkg::Lock::Timeout=600) tries=0
  until apt-get "${wait[@]}" update -qq; do
    (( ++tries < 60 )) || return 1
    sleep 10
  done
  apt-get "${wait[@]}" install -y -qq --no-install-recommends "${TESSARINE_PACKAGES[@]}" >/dev/null
  export TESSARINE_PACKAGES_READY=1
}

# Starts a private X server unless one is given in TESSARINE_DISPLAY; sets DISPLAY.
start_virtual_display() {
  local n
  for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  TESSARINE_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

# A Wine prefix of the project's own, created once, and a wine server kept
# running so that every Wine process starts fast.
start_wine() {
  export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all
  mkdir -p build
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "== creating the Wine prefix"
    wineboot -i >/dev/null 2>&1
    wineserver -w  # let the set-up's own server finish
  fi
  # This Wine build does not look in /usr/share/wine/fonts; without the
  # fonts in the prefix, captions and title-bar buttons draw as garbage.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Fails harmlessly when a server of this prefix runs already.
  wineserver -p 2>/dev/null || true
  # Bring up Wine's background services now, detached from our output: had a
  # test started them, they would hold its output pipe open and CTest would
  # wait for them to end.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_background() {
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "${TESSARINE_XVFB_PID:-}" ]] && kill "$TESSARINE_XVFB_PID" 2>/dev/null || true
}
