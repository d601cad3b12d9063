#!/bin/sh
# Runs a Windows program of the build tree under Wine. build.sh sets WINEPREFIX and DISPLAY
# (a private Xvfb) and keeps one wineserver alive for the whole test run.
: "${WINEPREFIX:?WINEPREFIX not set: run tests through build.sh}"
export WINEPREFIX WINEDEBUG="${WINEDEBUG:--all}" LC_ALL="${VORPEN_WINE_LC_ALL:-zh_CN.UTF-8}" \
       WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
