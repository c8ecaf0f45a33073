#!/usr/bin/env bash
# Emulator for the Windows test programs: runs one program under wine64 in
# the session that wine-session.sh started in STATE_DIR.
#   wine-run.sh STATE_DIR program.exe [arguments...]
set -u
state=$1
shift
if [ ! -s "$state/display" ]; then
  echo "no Wine session in $state (the wine_session fixture starts it)" >&2
  exit 1
fi
export DISPLAY=$(cat "$state/display")
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEARCH=win64
exec "${WINE64:-/usr/lib/wine/wine64}" "$@"
