#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit Windows deliverables and starts
# them under Wine with a bundled sample picture: on your X display when there
# is one, otherwise on a virtual display, where a screenshot is taken and its
# path printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLO_BUILD_DIR:-$root/build}/run-win64
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake" >/dev/null
cmake --build "$build" --target quillo bxcomm1 bxcomm1_resources bxcomm2 bxcomm2_resources qlo12 qlo12_resources make_catalogue
bin="$build/bin"
sample="Z:$(echo "$bin/Samples/coffee.png" | tr / '\\\\')"
program=("$bin/Quillo.exe" "$sample")

export WINEDEBUG=-all WINEPREFIX="$build/wine/prefix" WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=/usr/lib/wine/wine64
# A fresh build lists its effects at once: the catalogue the studio's
# "Rebuild Effect Catalogue" makes is made here when there is none yet, or
# when a plug-in module is newer than it.
if [ ! -f "$bin/BXFun.inf" ] || [ -n "$(find "$bin" -maxdepth 1 -name '*.PL1' -newer "$bin/BXFun.inf")" ]; then
  (cd "$bin" && "$WINE64" MakeCatalogue.exe) || true
fi
if [ -n "${DISPLAY:-}" ] && [ -z "${QUILLO_VIRTUAL_DISPLAY:-}" ]; then
  cd "$bin"
  exec "$WINE64" "${program[@]}"
fi

# No display: a virtual one, a screenshot, then everything is stopped.
"$root/tools/wine-session.sh" start "$build/wine" >/dev/null
trap '"$root/tools/wine-session.sh" stop "$build/wine" >/dev/null' EXIT
export DISPLAY=$(cat "$build/wine/display")
cd "$bin"
"$WINE64" "${program[@]}" &
pid=$!
sleep "${QUILLO_SCREENSHOT_DELAY:-8}"
shot=${QUILLO_SCREENSHOT:-$root/build/screenshots/quillo-run.png}
mkdir -p "$(dirname "$shot")"
xwd -root -silent | /usr/bin/convert xwd:- "$shot"
kill $pid 2>/dev/null || true
echo "No display was set, so Quillo ran on a virtual one. Screenshot: $shot"
