#!/bin/bash
# The program at rest under Wine, each figure beside a bare layered clock window (bare_clock)
# measured the same way in the same run:
#   start    CreateProcess to the clock's pixels on the screen (median of 3 starts)
#   RSS      resident memory of the process 8 s after start
#   CPU      share of one core taken by the process and by the wineserver over the idle
#            window (default 60 s), with the shipped data file
#   stalls   the longest answer of the UI thread to a WM_NULL sent every 10 ms for 15 s
# and then the tally of every wake-up at rest (rest_tally: per message and timer, how
# often and how long, over the same idle window).
# A benchmark, run by hand after `./build.sh build`; it asserts nothing:
#   bench/rest/rest-bench.sh [idle seconds]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
win=$root/build/windows
secs=${1:-60}
for f in "$win/dist/vorpen.exe" "$win/bench/rest/bare_clock.exe" "$win/bench/rest/rest_probe.exe" \
         "$win/bench/rest/rest_tally.exe"; do
  [ -f "$f" ] || { echo "missing $f: build the Windows tree first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "${launched:-}" ] && kill "$launched" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$win/dist" "$work/dist"
cp "$win/bench/rest/bare_clock.exe" "$win/bench/rest/rest_probe.exe" "$work/"

fdfile=$work/display
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$fdfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$fdfile")"

export WINEPREFIX=$win/benchprefix WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.vorpen-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  sed 's/$/\r/' "$root/tools/wine-prefix.reg" | iconv -f UTF-8 -t UTF-16LE | (printf '\xff\xfe'; cat) > "$work/p.reg"
  wine reg import "$(winepath -w "$work/p.reg" 2>/dev/null)" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.vorpen-ready"
fi
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

# The Linux process of this prefix whose command line holds $1.
pid_of() {
  local p
  for p in $(pgrep -f -- "$1"); do
    if tr '\0' '\n' < "/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then echo "$p"; return; fi
  done
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)

# Resident KB per kind of mapping, from smaps on stdin: "kind KB" lines. The program's
# own images are mapped from its folder ($work); Wine reads images it cannot map into
# anonymous memory, which then counts as such.
rss_groups() {
  awk -v work="$work" '
    /^[0-9a-f]+-[0-9a-f]+ / {
      path = NF >= 6 ? $6 : ""
      if (path == "") kind = "anonymous (Wine heaps, stacks, DIBs)"
      else if (path == "[heap]") kind = "Unix heap (GDI bitmaps, fonts)"
      else if (index(path, work) == 1) kind = "program images (exe, dll)"
      else if (path ~ /\/wine\/x86_64-windows\//) kind = "Wine PE DLLs"
      else if (path ~ /\/fonts\//) { n = split(path, part, "/"); kind = "font " part[n] }
      else if (path ~ /^\/SYSV/) kind = "window surfaces (shm)"
      else if (path ~ /\.so/) kind = "Unix libraries"
      else kind = "other files, stacks"
      next
    }
    /^Rss:/ { kb[kind] += $2 }
    END { for (k in kb) printf "%s\t%d\n", k, kb[k] }'
}

declare -A fig
measure() {   # label, exe path
  local label=$1 exe=$2 name; name=$(basename "$2")
  fig[$label.start]=$(wine "$work/rest_probe.exe" start "$(winepath -w "$exe")" 3 | sed -n 's/^start median \([0-9]*\) ms/\1/p')
  (cd "$(dirname "$exe")" && exec wine "./$name") >/dev/null 2>&1 &
  sleep 8
  local pid ws; pid=$(pid_of "$name"); ws=$(pid_of wineserver)
  launched=$pid
  fig[$label.rss]=$(awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status")
  rss_groups < "/proc/$pid/smaps" > "$work/$label.groups"
  local p0 w0 p1 w1
  p0=$(ticks "$pid"); w0=$(ticks "$ws")
  sleep "$secs"
  p1=$(ticks "$pid"); w1=$(ticks "$ws")
  fig[$label.cpu_prog]=$(awk -v a="$p0" -v b="$p1" -v s="$secs" -v hz="$hz" 'BEGIN {printf "%.2f", (b - a) * 100 / hz / s}')
  fig[$label.cpu_server]=$(awk -v a="$w0" -v b="$w1" -v s="$secs" -v hz="$hz" 'BEGIN {printf "%.2f", (b - a) * 100 / hz / s}')
  fig[$label.cpu]=$(awk -v a="${fig[$label.cpu_prog]}" -v b="${fig[$label.cpu_server]}" 'BEGIN {printf "%.2f", a + b}')
  fig[$label.stall]=$(wine "$work/rest_probe.exe" stalls "$name" 15 | tee "$work/$label.stalls" | sed -n 's/.*longest \([0-9.]*\) ms.*/\1/p')
  fig[$label.over16]=$(sed -n 's/.*over 16 ms \([0-9]*\).*/\1/p' "$work/$label.stalls")
  kill "$pid" 2>/dev/null || true
  launched=""
  sleep 2
}

measure bare "$work/bare_clock.exe"
measure prog "$work/dist/vorpen.exe"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
printf '%-34s %12s %12s %8s  %s\n' figure vorpen bare ratio target
row() { printf '%-34s %12s %12s %8s  %s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4"; }
row "start to clock on screen (ms)" "${fig[prog.start]}" "${fig[bare.start]}" "at most 2x"
row "RSS after start (MB)" "${fig[prog.rss]}" "${fig[bare.rss]}" "at most 35 MB"
row "CPU at rest, program + server (%)" "${fig[prog.cpu]}" "${fig[bare.cpu]}" "at most 1.5%"
row "  program (%)" "${fig[prog.cpu_prog]}" "${fig[bare.cpu_prog]}" ""
row "  wineserver (%)" "${fig[prog.cpu_server]}" "${fig[bare.cpu_server]}" ""
row "longest UI-thread answer (ms)" "${fig[prog.stall]}" "${fig[bare.stall]}" "none over 16 ms"
row "answers over 16 ms" "${fig[prog.over16]}" "${fig[bare.over16]}" "0"

echo
printf '%-40s %8s %12s\n' "RSS by mapping after start (MB)" vorpen bare
join -t $'\t' -a 1 -a 2 -e 0 -o 0,1.2,2.2 <(sort "$work/prog.groups") <(sort "$work/bare.groups") |
  sort -t $'\t' -k2,2nr | awk -F '\t' '{printf "  %-38s %8.1f %12.1f\n", $1, $2 / 1024, $3 / 1024}'

echo
echo "wake-ups at rest (after 8 s, over $secs s):"
rm -rf "$work/tally" && cp -r "$win/dist" "$work/tally" && cp "$win/bench/rest/rest_tally.exe" "$work/tally/"
(cd "$work/tally" && wine ./rest_tally.exe 8 "$secs" >/dev/null 2>&1) || true
cat "$work/tally/rest_tally.txt"
