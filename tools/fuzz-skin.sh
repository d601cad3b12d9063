#!/usr/bin/env bash
# Builds a skin fuzzer (clang, libFuzzer + AddressSanitizer + UBSan) and runs it on a
# scratch copy of its committed corpus.
# Usage: tools/fuzz-skin.sh [stored|geometry|ini] [seconds] [libFuzzer flags...]
#   stored    stored skins: inflating, the packed layout and the whole skin store load
#   geometry  the skin INI value readers and the compositions with random geometry
#   ini       skin INI texts with fixed pictures through the store's record readers and
#             the frame geometry, mask strips and hit tests, and the live skin objects made
#             from them (placed, drawn and driven by the mouse)
# New interesting inputs land in build-fuzz-skin/<target>/corpus; copy a few small ones back by hand.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=stored
case "${1:-}" in stored|geometry|ini) target=$1; shift ;; esac
seconds=${1:-600}
shift || true
out=${FUZZ_OUT:-$here/build-fuzz-skin}/$target
mkdir -p "$out/corpus" "$out/crashes"
rtl=(Streams BmpImage SysUtils Classes IniFiles Types Encoding FileUtils)
common=()
for f in "${rtl[@]}"; do [ -f "$here/framework/rtl/$f.cpp" ] && common+=("$here/framework/rtl/$f.cpp"); done
common+=("$here/framework/base/Component.cpp")
for f in spzlibcompress SkBitmap SkBmp SkPackedSkin SkCompressedStoredSkin SkIniValues SkCanvas SkCompose SkMaskRegion SkinData SkinRecords SkEffBmp SkFormFrame \
         SkFormObjects SkValueObjects SkFrameObjects SkLabelObjects SkFormLayout SkGlyphs SkText; do
  [ -f "$here/skin/core/$f.cpp" ] && common+=("$here/skin/core/$f.cpp")
done
if [ "$target" = stored ]; then
  sources=("$here/tests/skin/fuzz/StoredSkinFuzzer.cpp" "$here/tests/skin/fuzz/StoredSkinInput.cpp")
  corpus=$here/tests/skin/fuzz/corpus
elif [ "$target" = ini ]; then
  sources=("$here/tests/skin/fuzz/IniSkinFuzzer.cpp" "$here/tests/skin/fuzz/IniSkinInput.cpp")
  corpus=$here/tests/skin/fuzz/ini-corpus
else
  sources=("$here/tests/skin/fuzz/GeometryFuzzer.cpp" "$here/tests/skin/fuzz/GeometryInput.cpp")
  corpus=$here/tests/skin/fuzz/geometry-corpus
fi
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$here" -o "$out/fuzzer" "${sources[@]}" "${common[@]}" -lz
cp -n "$corpus/"* "$out/corpus/" 2>/dev/null || true
exec "$out/fuzzer" "$out/corpus" -max_total_time="$seconds" -max_len=65536 \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/crashes/" -print_final_stats=1 "$@"
