#!/usr/bin/env bash
# Installs what the two build trees need; quick when everything is present.
# Wine's own fonts (fonts-wine, its recommended package; Marlett draws the caption buttons)
# are installed explicitly, since packages go in without their recommendations. DejaVu Sans
# is the face whose glyphs differ by character set, which the menu and caption tests look for.
# Usage: tools/setup.sh        (run as root or with sudo available)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake ninja-build ccache g++ googletest libgtest-dev libbenchmark-dev zlib1g-dev
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb x11-apps x11-utils xdotool imagemagick
  fonts-wqy-microhei fonts-arphic-uming fonts-dejavu-core locales ca-certificates python3 espeak-ng sox
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm fetches the SQLite amalgamation; machines with Node.js from elsewhere already have it.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine needs the glibc zh_CN.UTF-8 locale for Chinese file names and a 936 code page.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating zh_CN.UTF-8"
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# Wine substitutes AR PL UMing CN (half-width ASCII, like 宋体) for 宋体; this rule draws that
# one family without antialiasing, crisp as 宋体 draws on Windows.
crisp=/etc/fonts/conf.d/64-vorpen-uming-crisp.conf
if ! cmp -s "$here/tools/fontconfig/64-vorpen-uming-crisp.conf" "$crisp"; then
  echo "setup: installing $crisp"
  $SUDO install -m 644 "$here/tools/fontconfig/64-vorpen-uming-crisp.conf" "$crisp"
  $SUDO fc-cache -f >/dev/null 2>&1 || true
fi

# Pinned SQLite amalgamation, cached outside git.
"$here/tools/fetch-sqlite.sh"
