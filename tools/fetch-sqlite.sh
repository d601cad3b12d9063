#!/usr/bin/env bash
# Fetches the pinned SQLite amalgamation (sqlite3.c, sqlite3.h) into third_party/sqlite
# (ignored by git) and checks it against the hashes committed in tools/sqlite.sha256.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dest="$here/third_party/sqlite"
sums="$here/tools/sqlite.sha256"
if [ -f "$dest/sqlite3.c" ] && (cd "$dest" && sha256sum -c --quiet "$sums" 2>/dev/null); then
  exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echo "setup: fetching SQLite amalgamation (better-sqlite3@12.11.1)"
(cd "$tmp" && npm pack --silent better-sqlite3@12.11.1 >/dev/null && tar xzf better-sqlite3-12.11.1.tgz)
mkdir -p "$dest"
cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$dest/"
(cd "$dest" && sha256sum -c --quiet "$sums") || { echo "setup: SQLite checksum mismatch" >&2; rm -f "$dest"/sqlite3.*; exit 1; }
