#!/bin/sh
# Times the file format kernels next to ImageMagick doing the same work, one
# thread each, in one run, and prints both with the ratio:
#  - decoding every frame of the three largest animated GIFs of the corpus
#    (ImageMagick: "convert x.gif null:"), and the first image alone;
#  - our GIF encoder and PCX writer/reader on a 4000 x 3000 photo;
#  - JPEG and PNG load and save of that photo through BXLoad.DLL (WIC under
#    Wine), when the 64-bit build holds bxload_speed.exe.
#
#   bench/codecs/compare_imagemagick.sh [bench-build] [win64-build]
#
# Ours: Google Benchmark CPU time (GIF, PCX) or the best wall time of
# several runs (WIC under Wine). ImageMagick: best CPU time (user + system)
# of several runs; a write is "convert in <file>" minus "convert in null:",
# so reading the source is not counted.
set -eu

. "$(dirname "$0")/../bench_setup.sh"
build=${1:-$root/build/codecs-bench}
win=${2:-$root/build/codecs-win64}
bench_build codecs_bench "$build"

# The three largest GIFs of the corpus holding more than one image.
gifs=""
for f in $(ls -S "$corpus"/gif/*.gif); do
  [ "$(/usr/bin/identify "$f" 2>/dev/null | wc -l)" -gt 1 ] || continue
  gifs="$gifs${gifs:+:}$f"
  [ "$(echo "$gifs" | tr ':' '\n' | wc -l)" -ge 3 ] && break
done

"$magick" "$corpus/photos/Storm.jpg" -resize '4000x3000!' -depth 8 "$work/photo.ppm"
"$magick" "$work/photo.ppm" -quality 90 "$work/photo.jpg"
"$magick" "$work/photo.ppm" "$work/photo.png"
"$magick" "$work/photo.ppm" -channel G -separate -depth 8 "$work/grey.pgm"
"$magick" "$work/photo.ppm" "$work/photo.pcx"

QUILLO_BENCH_GIFS=$gifs QUILLO_BENCH_PPM=$work/photo.ppm "$build/bench/codecs/codecs_bench" \
  --benchmark_format=json --benchmark_repetitions=3 >"$work/ours.json"

wic=""
if [ -f "$win/bin/bxload_speed.exe" ]; then
  state=$work/wine
  "$root/tools/wine-session.sh" start "$state" >/dev/null 2>&1
  cp "$work/photo.jpg" "$work/photo.png" "$state/"
  (cd "$win/bin" && "$root/tools/wine-run.sh" "$state" ./bxload_speed.exe 3 \
      "Z:$state/photo.jpg" "Z:$state/photo.png") >"$work/wic.txt" 2>"$work/wic.err" || true
  "$root/tools/wine-session.sh" stop "$state" >/dev/null 2>&1 || true
  wic=$work/wic.txt
fi

python3 - "$work" "$magick" "$gifs" "$wic" <<'PY'
import json, os, resource, subprocess, sys

work, magick, gifs, wic = sys.argv[1], sys.argv[2], sys.argv[3].split(":"), sys.argv[4]
ours = {}
for b in json.load(open(os.path.join(work, "ours.json")))["benchmarks"]:
    if b.get("run_type") == "iteration":
        name = b.get("run_name", b["name"])
        ms = b["cpu_time"] * {"ms": 1, "us": 1e-3, "ns": 1e-6, "s": 1e3}[b["time_unit"]]
        ours[name] = min(ours.get(name, 1e30), ms)

def cpu_ms(args, runs=3):
    best = None
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run([magick, "-limit", "thread", "1", *args], check=True)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        t = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best = t if best is None else min(best, t)
    return best * 1000

def path(name):
    return os.path.join(work, name)

rows = []
for g in gifs:
    if not g:
        continue
    base = os.path.basename(g)
    rows.append(("GIF decode, all frames: " + base, ours.get("BM_GifDecodeAllFrames/" + base), cpu_ms([g, "null:"])))
    rows.append(("GIF first image: " + base, ours.get("BM_GifFirstImage/" + base), cpu_ms([g + "[0]", "null:"])))
grey = cpu_ms([path("grey.pgm"), "null:"])
rows.append(("GIF write 4000x3000 8-bit", ours.get("BM_GifWrite8"), cpu_ms([path("grey.pgm"), path("o.gif")]) - grey))
ppm = cpu_ms([path("photo.ppm"), "null:"])
rows.append(("PCX write 4000x3000 24-bit", ours.get("BM_PcxWrite24"), cpu_ms([path("photo.ppm"), path("o.pcx")]) - ppm))
rows.append(("PCX read 4000x3000 24-bit", ours.get("BM_PcxRead24"), cpu_ms([path("photo.pcx"), "null:"])))
if wic and os.path.exists(wic) and os.path.getsize(wic) > 0:
    times = {}
    for line in open(wic):
        op, file, ms = line.split()
        times[(op, os.path.splitext(file)[1])] = float(ms)
    for ext in (".jpg", ".png"):
        src = path("photo" + ext)
        rows.append(("WIC load 4000x3000 " + ext, times.get(("load", ext)), cpu_ms([src, "null:"])))
        rows.append(("WIC save 4000x3000 " + ext, times.get(("save", ext)),
                     cpu_ms([path("photo.ppm"), path("o" + ext)]) - ppm))
else:
    print("(no WIC figures: build bxload_speed in the 64-bit build, or see the Wine log)")

print("%-52s %10s %12s %8s" % ("work", "ours ms", "ImageMagick", "ratio"))
for name, a, b in rows:
    if a is None:
        print("%-52s %10s %12.1f" % (name, "-", b))
    else:
        print("%-52s %10.1f %12.1f %7.2fx" % (name, a, b, b / a if a > 0 else 0))
PY
