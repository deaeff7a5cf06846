#!/usr/bin/env bash
# One wine set-up for everything that runs the Windows build here: a prefix
# of its own (WINEPREFIX, made on first use), no debug chatter, no offer to
# install mono or gecko, and a wine server kept running between the many
# short programs so that each of them starts in a fraction of a second.
#
#   tests/windows/wine-session.sh start|stop     set up / end the session
#   tests/windows/wine-session.sh run PROGRAM [ARGUMENT]...
#
# WINEPREFIX must name the prefix; WINE may name the loader (default: wine64
# from Debian's wine64 package, else wine). Needs neither a display nor a
# standard input.
set -euo pipefail

: "${WINEPREFIX:?WINEPREFIX must name the wine prefix}"
export WINEPREFIX
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${WINE:-}" ]; then
  for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then WINE=$candidate && break; fi
  done
fi
[ -n "${WINE:-}" ] || { echo "wine-session.sh: no wine found (apt-get install wine64)" >&2; exit 1; }
# wine64 alone (without Debian's wine wrapper) must be told its own path to
# start child processes; the server lies beside it.
case "$WINE" in *wine64) export WINELOADER="$WINE" ;; esac
server="$(dirname "$(readlink -f "$WINE")")/wineserver64"
[ -x "$server" ] || server="$(dirname "$(readlink -f "$WINE")")/wineserver"
[ -x "$server" ] || server=wineserver

case "${1:-}" in
  start)
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      # wineboot grumbles about a 32-bit helper that a 64-bit-only wine lacks.
      "$WINE" wineboot -i </dev/null >/dev/null 2>&1
      "$server" -w  # its server ends a few seconds later, and a new one can stay
    fi
    # Detached from our output, which ctest would wait for it to close. A
    # server that runs already (another session) refuses, and serves as well.
    "$server" -p </dev/null >/dev/null 2>&1 || true
    # The first program in a new prefix finishes setting it up; alone, so
    # that the programs after it do not race to do so.
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  stop) "$server" -k 2>/dev/null || true ;;
  run) shift && exec "$WINE" "$@" ;;
  *) echo "usage: tests/windows/wine-session.sh start|stop|run PROGRAM [ARGUMENT]..." >&2; exit 2 ;;
esac
