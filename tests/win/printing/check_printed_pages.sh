#!/usr/bin/env bash
# The page check of the printing tests: renders the two jobs print_job_test
# printed on the session's PostScript printer (first_job.ps, second_job.ps in
# PAGES) with Ghostscript at the printer's resolution, where one printer unit
# is one pixel, and checks with ImageMagick that each page is one page of the
# printer's size holding its job's rectangle at its place (within 2 pixels)
# in its colour (within 3 levels), the text inside the text band, and nothing
# else: in particular not the other job's rectangle.
#   check_printed_pages.sh PAGES OUT DPI WIDTH HEIGHT
#     FIRST_RECT(l t r b) FIRST_COLOUR(r g b) SECOND_RECT SECOND_COLOUR TEXT_BAND(l t r b)
set -u
if [ $# -ne 23 ]; then
  echo "usage: $0 PAGES OUT DPI WIDTH HEIGHT FIRST_RECT(4) FIRST_COLOUR(3) SECOND_RECT(4) SECOND_COLOUR(3) TEXT_BAND(4)" >&2
  exit 2
fi
pages=$1 out=$2 dpi=$3 width=$4 height=$5
shift 5
first_rect=("$1" "$2" "$3" "$4") first_colour=("$5" "$6" "$7")
second_rect=("$8" "$9" "${10}" "${11}") second_colour=("${12}" "${13}" "${14}")
band=("${15}" "${16}" "${17}" "${18}")
place_slack=2 colour_slack=3 min_text_pixels=2000

if ! command -v gs >/dev/null; then
  echo "FAIL: Ghostscript's gs is not installed (Debian package ghostscript)" >&2
  exit 1
fi
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
near() {  # near VALUE EXPECTED SLACK
  [ "$1" -ge $(($2 - $3)) ] && [ "$1" -le $(($2 + $3)) ]
}

# check_page JOB RECT(4) COLOUR(3)
check_page() {
  local job=$1 l=$2 t=$3 r=$4 b=$5 red=$6 green=$7 blue=$8
  local ps=$pages/$job.ps
  if [ ! -s "$ps" ]; then
    fail "$ps is missing (print_job_test prints it)"
    return
  fi
  rm -f "$out/$job"-*.png
  if ! gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r"$dpi" -o "$out/$job-%d.png" "$ps" >"$out/$job.gs.log" 2>&1; then
    fail "$job: Ghostscript could not render it: $(head -c 400 "$out/$job.gs.log")"
    return
  fi
  local rendered=("$out/$job"-*.png)
  if [ ${#rendered[@]} -ne 1 ]; then
    fail "$job: ${#rendered[@]} pages rendered, not 1"
    return
  fi
  local png=${rendered[0]}

  # One pass over the page (loading it is most of the time) measures:
  # its size; the box round the pixels of the job's colour; the mean colour
  # and its deviation inside the rectangle drawn; the dark pixels in the text
  # band; and, with the rectangle and the band painted white, the darkest
  # grey left anywhere else on the page.
  local s=$place_slack measured
  measured=$(convert -respect-parentheses "$png" \
    -format '%w %h\n' -write info: \
    \( +clone -fuzz 2% -fill white +opaque "rgb($red,$green,$blue)" -format '%@\n' -write info: +delete \) \
    \( +clone -crop $((r - l - 6))x$((b - t - 6))+$((l + 3))+$((t + 3)) +repage \
      -format '%[fx:round(255*mean.r)] %[fx:round(255*mean.g)] %[fx:round(255*mean.b)] %[fx:round(255*standard_deviation)]\n' \
      -write info: +delete \) \
    \( +clone -crop $((band[2] - band[0]))x$((band[3] - band[1]))+"${band[0]}"+"${band[1]}" +repage \
      -colorspace Gray -threshold 50% -format '%[fx:round((1-mean)*w*h)]\n' -write info: +delete \) \
    -fill white -draw "rectangle $((l - s)),$((t - s)) $((r + s)),$((b + s))" \
    -draw "rectangle ${band[0]},${band[1]} ${band[2]},${band[3]}" \
    -colorspace Gray -format '%[fx:round(255*minima)]\n' info: 2>"$out/$job.im.log")
  local size box inside dark darkest
  { read -r size; read -r box; read -r inside; read -r dark; read -r darkest; } <<<"$measured"
  if ! [[ $size =~ ^[0-9]+\ [0-9]+$ && $inside =~ ^([0-9]+\ ){3}[0-9]+$ && $dark =~ ^[0-9]+$ &&
    $darkest =~ ^[0-9]+$ ]]; then
    fail "$job: ImageMagick could not measure the page: $measured $(head -c 400 "$out/$job.im.log")"
    return
  fi
  [ "$size" = "$width $height" ] || fail "$job: page is $size pixels, not $width $height"

  # The pixels of the job's colour make the rectangle drawn.
  local bw=0 bh=0 bx=0 by=0
  if [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]; then
    bw=${BASH_REMATCH[1]} bh=${BASH_REMATCH[2]} bx=${BASH_REMATCH[3]} by=${BASH_REMATCH[4]}
  fi
  if [ "$bw" -eq 0 ] || [ "$bh" -eq 0 ]; then
    fail "$job: no pixels of rgb($red,$green,$blue) on the page"
  elif ! near "$bx" "$l" $place_slack || ! near "$by" "$t" $place_slack ||
    ! near $((bx + bw)) "$r" $place_slack || ! near $((by + bh)) "$b" $place_slack; then
    fail "$job: rectangle at $bx,$by-$((bx + bw)),$((by + bh)), not $l,$t-$r,$b"
  else
    echo "$job: rectangle at $bx,$by-$((bx + bw)),$((by + bh)) (drawn at $l,$t-$r,$b)"
  fi

  # Its inside is one even colour, the one drawn.
  local mr mg mb sd
  read -r mr mg mb sd <<<"$inside"
  if ! near "$mr" "$red" $colour_slack || ! near "$mg" "$green" $colour_slack ||
    ! near "$mb" "$blue" $colour_slack || [ "$sd" -gt 1 ]; then
    fail "$job: inside is rgb($mr,$mg,$mb) with deviation $sd, not rgb($red,$green,$blue)"
  else
    echo "$job: inside is rgb($mr,$mg,$mb) (drawn rgb($red,$green,$blue))"
  fi

  # The text is in its band.
  if [ "$dark" -lt $min_text_pixels ]; then
    fail "$job: $dark dark pixels in the text band, fewer than $min_text_pixels"
  else
    echo "$job: $dark dark pixels in the text band"
  fi

  # Nothing else is on the page.
  if [ "$darkest" -lt 250 ]; then
    fail "$job: something else is on the page (a pixel of grey $darkest outside the rectangle and the text)"
  fi
}

mkdir -p "$out"
check_page first_job "${first_rect[@]}" "${first_colour[@]}"
check_page second_job "${second_rect[@]}" "${second_colour[@]}"
if [ $failures -ne 0 ]; then
  echo "$failures failed checks; pages rendered in $out" >&2
  exit 1
fi
echo "both printed pages hold what was drawn"
