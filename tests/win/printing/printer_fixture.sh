#!/usr/bin/env bash
# Gives the Wine session of the Windows tests a real printer and makes it the
# default one, so that the "device" entry of the [windows] profile section
# names it:
#   "Quillo Test Printer,WINEPS.DRV,QUILLOJOBS:"
# The printer is Wine's PostScript driver (wineps.drv) with the page
# description test_printer.ppd (US Letter at 300 dpi, all of it printable).
# Its port QUILLOJOBS: is mapped by Wine's spooler table
# (HKCU\Software\Wine\Printing\Spooler) to a pipe into this script, which
# keeps each job as the next numbered file STATE_DIR/jobs/job-NNN.ps: the
# spooler waits for the pipe's command, so a job's file is complete once
# EndDoc has returned, and no job overwrites another. (A port mapped to a
# plain file would hold only the last job: Wine copies every job over it.)
#   printer_fixture.sh start STATE_DIR SESSION
#   printer_fixture.sh stop STATE_DIR SESSION
#   printer_fixture.sh receive STATE_DIR    (Wine's spooler: the job on stdin)
# SESSION is the folder tools/wine-session.sh started (its prefix/ is the
# Wine prefix), or a Wine prefix itself. Everything goes in with one
# "reg import" against the session's running wine server, and stop takes it
# out again and gives the device entry back the value it had before start,
# so the other tests of the shared prefix find the profile as they left it.
set -u
cmd=${1:-}
state=${2:-}
session=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
WINE64=${WINE64:-/usr/lib/wine/wine64}

printer="Quillo Test Printer"
driver="Quillo Test PostScript"
port="QUILLOJOBS:"
device="$printer,WINEPS.DRV,$port"
windows_key='HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows'

usage() {
  echo "usage: $0 start|stop STATE_DIR SESSION | receive STATE_DIR" >&2
  exit 2
}

# The Wine prefix of SESSION; false when its session is not running.
use_session() {
  if [ -f "$session/system.reg" ]; then
    export WINEPREFIX=$session
  elif [ -f "$session/prefix/system.reg" ] && [ -s "$session/display" ]; then
    export WINEPREFIX=$session/prefix
    DISPLAY=$(cat "$session/display")
    export DISPLAY
  else
    return 1
  fi
  export WINEDEBUG=-all WINEARCH=win64
}

wine_reg() {
  "$WINE64" reg "$@" </dev/null 2>&1
}

# A string value of a .reg file: backslashes and quotes escaped.
reg_string() {
  local s=${1//\\/\\\\}
  printf '"%s"' "${s//\"/\\\"}"
}

# The device entry now, or nothing with status 1 when there is none.
current_device() {
  local out
  out=$(wine_reg query "${windows_key/HKEY_CURRENT_USER/HKCU}" /v Device) || return 1
  printf '%s\n' "$out" | tr -d '\r' | sed -n 's/^    Device    REG_SZ    //p' | head -n 1
}

case "$cmd" in
  start)
    if [ -z "$state" ] || [ -z "$session" ]; then usage; fi
    if ! use_session; then
      echo "no running Wine session in $session (the wine_session fixture starts it)" >&2
      exit 1
    fi
    mkdir -p "$state"
    state=$(cd "$state" && pwd)
    # Both folders go into the port's shell command in single quotes, and
    # into the profile and the registry.
    case "$here$state" in
      *[\'\"\\,]*)
        echo "quotes, backslashes or commas in $here or $state: the port's command cannot hold them" >&2
        exit 1
        ;;
    esac
    rm -rf "$state/jobs" "$state/printer.reg"
    mkdir -p "$state/jobs"
    # The entry to give back at stop; an interrupted run's printer is not it.
    if previous=$(current_device); then
      if [ "$previous" != "$device" ]; then
        printf '%s' "$previous" >"$state/previous_device"
      fi
    else
      rm -f "$state/previous_device"
    fi
    ppd="Z:${here//\//\\}\\test_printer.ppd"
    pipe="|'$here/printer_fixture.sh' receive '$state'"
    cat >"$state/printer.reg" <<EOF
REGEDIT4

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\$driver]
"Driver"="wineps.drv"
"Configuration File"="wineps.drv"
"Data File"=$(reg_string "$ppd")
"Help File"=""
"Monitor"=""
"Datatype"="RAW"
"Version"=dword:00000003

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\$printer]
"Name"="$printer"
"Port"="$port"
"Printer Driver"="$driver"
"Print Processor"="WinPrint"
"Datatype"="RAW"
"Description"=""
"Location"=""
"Share Name"=""
"Attributes"=dword:00000040
"Priority"=dword:00000001
"Default Priority"=dword:00000000
"Status"=dword:00000000

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports]
"$port"=""

[HKEY_CURRENT_USER\\Software\\Wine\\Printing\\Spooler]
"$port"=$(reg_string "$pipe")

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices]
"$printer"="WINEPS.DRV,$port"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts]
"$printer"="WINEPS.DRV,$port,15,45"

[$windows_key]
"Device"="$device"
EOF
    if ! out=$(wine_reg import "Z:${state//\//\\}\\printer.reg"); then
      echo "reg import failed: $out" >&2
      exit 1
    fi
    if [ "$(current_device)" != "$device" ]; then
      echo "the device entry does not name the printer after the import" >&2
      exit 1
    fi
    echo "printer \"$printer\" ready; its jobs go to $state/jobs"
    ;;
  stop)
    if [ -z "$state" ] || [ -z "$session" ]; then usage; fi
    if ! use_session; then
      echo "no running Wine session in $session: nothing to take out"
      exit 0
    fi
    [ -d "$state" ] && state=$(cd "$state" && pwd)
    mkdir -p "$state"
    {
      printf 'REGEDIT4\n\n'
      printf '[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\%s]\n' "$printer"
      printf '[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\%s]\n' "$driver"
      printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports]\n"%s"=-\n' "$port"
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Printing\\Spooler]\n"%s"=-\n' "$port"
      printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices]\n"%s"=-\n' "$printer"
      printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts]\n"%s"=-\n' "$printer"
      # The device entry goes back to what it was, unless something else has
      # replaced ours meanwhile (a test that took it away and died before it
      # put it back has not).
      now=$(current_device) || now=
      if [ "$now" = "$device" ] || [ -z "$now" ]; then
        printf '[%s]\n' "$windows_key"
        if [ -f "$state/previous_device" ]; then
          printf '"Device"=%s\n' "$(reg_string "$(cat "$state/previous_device")")"
        else
          printf '"Device"=-\n'
        fi
      fi
    } >"$state/unprinter.reg"
    if ! out=$(wine_reg import "Z:${state//\//\\}\\unprinter.reg"); then
      echo "reg import failed: $out" >&2
      exit 1
    fi
    rm -f "$state/previous_device"
    echo "printer \"$printer\" removed; its jobs stay in $state/jobs"
    ;;
  receive)
    [ -n "$state" ] || usage
    mkdir -p "$state/jobs"
    # Claim the next free number: noclobber makes creating the file the test.
    n=1
    while ! (set -C; : >"$state/jobs/$(printf 'job-%03d.ps' "$n")") 2>/dev/null; do
      n=$((n + 1))
    done
    exec cat >"$state/jobs/$(printf 'job-%03d.ps' "$n")"
    ;;
  *)
    usage
    ;;
esac
