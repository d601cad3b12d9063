#!/usr/bin/env bash
# Builds the stored-skin fuzzer (clang, libFuzzer + AddressSanitizer) and runs it on a
# scratch copy of the committed corpus. Usage: tools/fuzz-skin.sh [seconds] [libFuzzer flags...]
# New interesting inputs land in build-fuzz-skin/corpus; copy a few small ones back by hand.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_OUT:-$here/build-fuzz-skin}
seconds=${1:-600}
shift || true
mkdir -p "$out/corpus" "$out/crashes"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$here" -o "$out/stored-skin-fuzzer" \
  "$here/tests/skin/fuzz/StoredSkinFuzzer.cpp" "$here/tests/skin/fuzz/StoredSkinInput.cpp" \
  "$here/framework/rtl/Streams.cpp" "$here/framework/rtl/BmpImage.cpp" "$here/skin/core/spzlibcompress.cpp" "$here/skin/core/SkBitmap.cpp" \
  "$here/skin/core/SkBmp.cpp" "$here/skin/core/SkPackedSkin.cpp" -lz
cp -n "$here/tests/skin/fuzz/corpus/"* "$out/corpus/" 2>/dev/null || true
exec "$out/stored-skin-fuzzer" "$out/corpus" -max_total_time="$seconds" -max_len=65536 \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/crashes/" -print_final_stats=1 "$@"
