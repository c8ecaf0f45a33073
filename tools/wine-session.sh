#!/usr/bin/env bash
# Starts or stops the Wine session of one test run: a fresh virtual X display
# and a fresh Wine prefix inside STATE_DIR, with a persistent wine server.
#   wine-session.sh start STATE_DIR
#   wine-session.sh stop STATE_DIR
# Nothing of an earlier run is reused: start first stops whatever an earlier
# (perhaps interrupted) run left in STATE_DIR.
set -u
cmd=$1
state=$2
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

stop_session() {
  if [ -f "$state/display" ]; then
    export DISPLAY=$(cat "$state/display")
  fi
  if [ -d "$state/prefix" ]; then
    WINEPREFIX="$state/prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" >/dev/null 2>&1 || true
  fi
  rm -f "$state/display" "$state/xvfb.pid"
}

case "$cmd" in
  start)
    mkdir -p "$state"
    stop_session
    rm -rf "$state/prefix"
    # Xvfb picks a free display number itself and writes it to fd 3.
    rm -f "$state/displayfd"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
      3>"$state/displayfd" </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 1 100); do
      [ -s "$state/displayfd" ] && break
      sleep 0.1
    done
    if [ ! -s "$state/displayfd" ]; then
      echo "Xvfb did not start; see $state/xvfb.log" >&2
      exit 1
    fi
    echo ":$(tr -d '\n' <"$state/displayfd")" >"$state/display"
    export DISPLAY=$(cat "$state/display")
    export WINEPREFIX="$state/prefix"
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1
    timeout 180 "$WINE64" wineboot -i </dev/null >"$state/wineboot.log" 2>&1
    # One virtual desktop holds every window: Wine then draws the frames
    # itself (there is no window manager on the virtual display) and hiding
    # or destroying a window needs no round trip to a window manager.
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      </dev/null >>"$state/wineboot.log" 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
      </dev/null >>"$state/wineboot.log" 2>&1
    # The desktop process of the boot predates the setting: restart the
    # server so the next program brings up the virtual desktop.
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1
    # Start the session's services and desktop here, with their output going
    # to the log: processes they spawn outlive the program that started them
    # and would otherwise hold the test runner's output pipes open.
    timeout 120 "$WINE64" wineboot </dev/null >>"$state/wineboot.log" 2>&1
    setsid "$WINE64" explorer /desktop=Default,1280x1024 </dev/null >>"$state/wineboot.log" 2>&1 &
    sleep 1
    echo "Wine session ready on display $DISPLAY, prefix $WINEPREFIX"
    ;;
  stop)
    stop_session
    echo "Wine session stopped"
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
