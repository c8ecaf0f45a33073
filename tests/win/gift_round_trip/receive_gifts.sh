#!/usr/bin/env bash
# Receives the gift programs in GIFTS on a machine of their own: a Wine
# session with a fresh prefix in STATE, the programs put in its
# "C:\Downloads", and the receiver's test program (from BIN) run there.
#   receive_gifts.sh TOOLS STATE GIFTS BIN
set -u
tools=$1 state=$2 gifts=$3 bin=$4
"$tools/wine-session.sh" start "$state" >"$state.log" 2>&1 || { cat "$state.log"; exit 1; }
trap '"$tools/wine-session.sh" stop "$state" >/dev/null 2>&1' EXIT
mkdir -p "$state/prefix/drive_c/Downloads"
cp "$gifts"/*.exe "$state/prefix/drive_c/Downloads/" || exit 1
cd "$bin" || exit 1
"$tools/wine-run.sh" "$state" ./gift_receiver_test.exe --gtest_color=no 2> >(grep -v '^wine: Read access' >&2)
