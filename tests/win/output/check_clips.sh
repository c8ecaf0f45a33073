#!/usr/bin/env bash
# Plays the clips the capture test left in the folder $1 the way any player
# would: ffprobe's frame count, size, rate and duration must match what the
# test read back through AVIFile (the clip's ".expect" file: frames, width,
# height, seconds), and ffmpeg must decode every frame without an error.
set -euo pipefail
folder=$1
shopt -s nullglob
clips=("$folder"/*.avi)
if [ ${#clips[@]} -eq 0 ]; then
  echo "no clips in $folder" >&2
  exit 1
fi
status=0
for clip in "${clips[@]}"; do
  expect=$clip.expect
  if [ ! -f "$expect" ]; then
    echo "$clip: no expectation file" >&2
    status=1
    continue
  fi
  read -r frames width height seconds < "$expect"
  got=$(ffprobe -v error -select_streams v:0 -show_entries stream=nb_frames,width,height,r_frame_rate \
    -show_entries format=duration -of default=noprint_wrappers=1 "$clip")
  echo "$clip: $(echo "$got" | tr '\n' ' ')"
  value() { echo "$got" | sed -n "s/^$1=//p" | head -1; }
  [ "$(value width)" = "$width" ] || { echo "$clip: width $(value width), expected $width" >&2; status=1; }
  [ "$(value height)" = "$height" ] || { echo "$clip: height $(value height), expected $height" >&2; status=1; }
  [ "$(value r_frame_rate)" = "5/1" ] || { echo "$clip: rate $(value r_frame_rate), expected 5/1" >&2; status=1; }
  [ "$(value nb_frames)" = "$frames" ] || { echo "$clip: $(value nb_frames) frames, expected $frames" >&2; status=1; }
  duration=$(value duration)
  if ! awk -v d="$duration" -v e="$seconds" 'BEGIN { exit !(d - e < 0.01 && e - d < 0.01) }'; then
    echo "$clip: duration $duration, expected $seconds" >&2
    status=1
  fi
  if ! errors=$(ffmpeg -nostdin -v error -i "$clip" -f null - 2>&1) || [ -n "$errors" ]; then
    echo "$clip: ffmpeg reports: $errors" >&2
    status=1
  fi
done
exit $status
