#!/usr/bin/env bash
# vorpen build driver.
#   ./build.sh run    build the Windows program (not its tests) and start vorpen.exe under Wine
#                     (on $DISPLAY, or on a private Xvfb for a few seconds, saving a screenshot
#                     whose path it prints)
#   ./build.sh test   install what is missing, build the native, sanitizer and Windows trees and run
#                     every test (Windows tests under Wine on a private Xvfb); exits non-zero on failure
#   ./build.sh build  build all three trees without testing
#   ./build.sh wtest [ctest args]  build the Windows tree and run the chosen Windows tests
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
out=$root/build
native=$out/native
asan=$out/asan
win=$out/windows
jobs=$(nproc)

# ccache, where installed, shares objects between trees and checkouts (paths hashed relative to the root).
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure() {   # dir, extra cmake args...
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja -DVORPEN_WERROR=ON "${launcher[@]}" "$@" >/dev/null
}

build_native() { configure "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build "$native" -j "$jobs"; }
build_asan()   { configure "$asan" -DCMAKE_BUILD_TYPE=Debug -DVORPEN_SANITIZE=ON -DVORPEN_BENCH=OFF && cmake --build "$asan" -j "$jobs"; }
build_win()    { configure "$win" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" && cmake --build "$win" -j "$jobs" "$@"; }

xvfb_pid=""
wine_down() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; xvfb_pid=""; fi
}

# Starts a private Xvfb (no window manager) and sets DISPLAY.
start_xvfb() {
  local fdfile; fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$fdfile" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

# Prepares the Wine prefix of the Windows tree (created once) and keeps one wineserver alive.
# The ready marker holds the hash of tools/wine-prefix.reg: a changed file is imported again
# into an existing prefix.
wine_up() {
  export WINEPREFIX=$win/wineprefix WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
  local ready=$WINEPREFIX/.vorpen-ready regsum
  regsum=$(sha256sum "$root/tools/wine-prefix.reg" | cut -d' ' -f1)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  if [ "$(cat "$ready" 2>/dev/null)" != "$regsum" ]; then
    echo "wine: importing tools/wine-prefix.reg"
    sed 's/$/\r/' "$root/tools/wine-prefix.reg" | iconv -f UTF-8 -t UTF-16LE | (printf '\xff\xfe'; cat) > "$win/wine-prefix.reg"
    wine reg import "$(winepath -w "$win/wine-prefix.reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    echo "$regsum" > "$ready"
  fi
  # Wine draws caption buttons with Marlett (fonts-wine); this Wine finds it only in the prefix.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -f "$marlett" ] && [ ! -f "$fonts/marlett.ttf" ]; then mkdir -p "$fonts" && cp "$marlett" "$fonts/"; fi
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

run_ctest() {   # label, dir, extra ctest args...
  local label=$1 dir=$2; shift 2
  echo "== $label tests"
  if ctest --test-dir "$dir" --output-on-failure --timeout 600 "$@"; then
    summary+=("$label: passed")
  else
    summary+=("$label: FAILED"); status=1
  fi
}

cmd=${1:-}
case "$cmd" in
  build)
    "$root/tools/setup.sh"
    build_native; build_asan; build_win
    ;;
  test)
    "$root/tools/setup.sh"
    status=0; summary=()
    build_native; run_ctest native "$native" -j "$jobs"
    build_asan; run_ctest sanitizers "$asan" -j "$jobs"
    build_win
    trap wine_down EXIT
    start_xvfb; wine_up
    run_ctest windows "$win"
    wine_down
    echo "== summary"; printf '  %s\n' "${summary[@]}"
    exit $status
    ;;
  wtest)   # developer loop: build the Windows tree and run the chosen Windows tests, e.g. ./build.sh wtest -R app_win
    shift
    build_win
    trap wine_down EXIT
    start_xvfb; wine_up
    ctest --test-dir "$win" --output-on-failure --timeout 600 "$@"
    ;;
  run)
    "$root/tools/setup.sh"
    build_win --target program
    trap wine_down EXIT
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
      wine_up
      cd "$win/dist" && wine ./vorpen.exe
    else
      start_xvfb; wine_up
      (cd "$win/dist" && wine ./vorpen.exe) &
      sleep 6
      shot=$out/screenshot.png
      wine "$win/tools/screengrab.exe" "$(winepath -w "$out/screenshot.bmp")"
      convert "$out/screenshot.bmp" "$shot" && rm -f "$out/screenshot.bmp"
      echo "screenshot: $shot"
    fi
    ;;
  *)
    sed -n '2,9p' "$0"; exit 2 ;;
esac
