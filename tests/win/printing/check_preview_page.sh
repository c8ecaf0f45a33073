#!/usr/bin/env bash
# The page print_preview_test printed with Print This Page (PAGES/
# preview_page.ps), rendered with Ghostscript at DPI: one page of the
# printer's size with the picture in the placement the test wrote beside it
# (preview_page.rect, printer units, scaled from PRINTER_DPI): the left half
# in the left colour, the right half in the right colour (boxes within 2
# pixels, insides even and within 3 levels), white page everywhere else.
#   check_preview_page.sh PAGES OUT DPI PRINTER_DPI WIDTH HEIGHT LEFT_COLOUR(r g b) RIGHT_COLOUR(r g b)
set -u
[ $# -eq 12 ] || { echo "usage: $0 PAGES OUT DPI PRINTER_DPI WIDTH HEIGHT LEFT(3) RIGHT(3)" >&2; exit 2; }
pages=$1 out=$2 dpi=$3 printer_dpi=$4 width=$5 height=$6
left_colour="$7 $8 $9" right_colour="${10} ${11} ${12}"
slack=2 failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
near() { [ "$1" -ge $(($2 - $3)) ] && [ "$1" -le $(($2 + $3)) ]; }
scale() { echo $((($1 * dpi + printer_dpi / 2) / printer_dpi)); }

read -r pl pt pr pb < <(tr -d '\r' 2>/dev/null <"$pages/preview_page.rect")
if ! [[ "${pl:-} ${pt:-} ${pr:-} ${pb:-}" =~ ^(-?[0-9]+\ ){3}-?[0-9]+$ ]] || [ "$pl" -ge "$pr" ] || [ "$pt" -ge "$pb" ]; then
  echo "FAIL: no placement in $pages/preview_page.rect (print_preview_test writes it)" >&2
  exit 1
fi
l=$(scale "$pl") t=$(scale "$pt") r=$(scale "$pr") b=$(scale "$pb") mid=$(scale $(((pl + pr) / 2)))
mkdir -p "$out" && rm -f "$out"/preview_page-*.png
if ! gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r"$dpi" -o "$out/preview_page-%d.png" \
  "$pages/preview_page.ps" >"$out/preview_page.gs.log" 2>&1; then
  echo "FAIL: Ghostscript could not render the page: $(head -c 400 "$out/preview_page.gs.log")" >&2
  exit 1
fi
rendered=("$out"/preview_page-*.png)
[ ${#rendered[@]} -eq 1 ] || fail "${#rendered[@]} pages rendered, not 1"

# One pass: page size; per half the box round its colour's pixels and the
# mean and deviation 3 pixels in from its edges; with the placement painted
# white, the darkest grey left.
fmt='%[fx:round(255*mean.r)] %[fx:round(255*mean.g)] %[fx:round(255*mean.b)] %[fx:round(255*standard_deviation)]\n'
args=()
half() {  # half COLOUR(r g b) LEFT RIGHT
  args+=(\( +clone -fuzz 2% -fill white +opaque "rgb(${1// /,})" -format '%@\n' -write info: +delete \)
    \( +clone -crop $(($3 - $2 - 6))x$((b - t - 6))+$(($2 + 3))+$((t + 3)) +repage -format "$fmt" -write info: +delete \))
}
half "$left_colour" "$l" "$mid"
half "$right_colour" "$mid" "$r"
measured=$(convert -respect-parentheses "${rendered[0]}" -format '%w %h\n' -write info: "${args[@]}" \
  -fill white -draw "rectangle $((l - slack)),$((t - slack)) $((r + slack)),$((b + slack))" \
  -colorspace Gray -format '%[fx:round(255*minima)]\n' info: 2>"$out/preview_page.im.log")
{ read -r size; read -r lbox; read -r linside; read -r rbox; read -r rinside; read -r darkest; } <<<"$measured"
[[ ${darkest:-} =~ ^[0-9]+$ ]] || { echo "FAIL: ImageMagick: $measured $(head -c 400 "$out/preview_page.im.log")" >&2; exit 1; }
[ "$size" = "$(scale "$width") $(scale "$height")" ] || fail "page is $size pixels, not $(scale "$width") $(scale "$height")"

check() {  # check NAME BOX INSIDE L R COLOUR(r g b)
  local bw=0 bh=0 bx=0 by=0 mr mg mb sd red green blue
  read -r red green blue <<<"$6"
  [[ $2 =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
    bw=${BASH_REMATCH[1]} bh=${BASH_REMATCH[2]} bx=${BASH_REMATCH[3]} by=${BASH_REMATCH[4]}
  if [ "$bw" -le 1 ] || [ "$bh" -le 1 ]; then
    fail "$1 half: no pixels of rgb($red,$green,$blue)"
  elif ! near "$bx" "$4" $slack || ! near "$by" "$t" $slack || ! near $((bx + bw)) "$5" $slack ||
    ! near $((by + bh)) "$b" $slack; then
    fail "$1 half at $bx,$by-$((bx + bw)),$((by + bh)), not $4,$t-$5,$b"
  fi
  read -r mr mg mb sd <<<"$3"
  if ! near "$mr" "$red" 3 || ! near "$mg" "$green" 3 || ! near "$mb" "$blue" 3 || [ "$sd" -gt 1 ]; then
    fail "$1 half is rgb($mr,$mg,$mb) (deviation $sd) inside, not rgb($red,$green,$blue)"
  fi
}
check left "$lbox" "$linside" "$l" "$mid" "$left_colour"
check right "$rbox" "$rinside" "$mid" "$r" "$right_colour"
[ "$darkest" -ge 250 ] || fail "something else is on the page (grey $darkest outside the placement)"
if [ $failures -ne 0 ]; then
  echo "$failures failed checks; the page is rendered in $out" >&2
  exit 1
fi
echo "the picture lies in its placement at $l,$t-$r,$b ($dpi dpi), the right way round; white elsewhere"
