#!/bin/sh
# Times the cubic B-spline resampler (ZoomDIBEx's kernel) and ImageMagick's
# "-filter Cubic -resize WxH!" on the same pictures, one thread each, and
# prints megapixels per second for both (of the larger of source and
# target) and how close the two outputs are.
#
#   bench/imaging_zoom/compare_imagemagick.sh [build-folder]
#
# The 4000 x 3000 picture is a corpus photograph decoded and scaled by
# ImageMagick to a PPM; the 1000 x 750 picture for the enlargement is that
# one scaled down by ImageMagick. Both sides are measured in CPU time (user
# + system), best of several runs. ImageMagick's time is that of
# "convert in.ppm <resize> null:" minus that of "convert in.ppm null:", so
# reading the file is not counted.
set -eu

. "$(dirname "$0")/../bench_setup.sh"
build=${1:-$root/build/bxcomm-bench}
photo=$corpus/photos/Storm.jpg
bench_build bxcomm_zoom_bench "$build"
bench=$build/bench/imaging_zoom/bxcomm_zoom_bench

large=$work/large.ppm
small=$work/small.ppm
"$magick" "$photo" -resize '4000x3000!' -depth 8 "$large"
"$magick" "$large" -resize '1000x750!' -depth 8 "$small"

QUILLO_BENCH_PPM=$large QUILLO_BENCH_SMALL_PPM=$small "$bench" --benchmark_format=json \
  --benchmark_repetitions=3 >"$work/ours.json"

python3 - "$work" "$magick" "$bench" "$work/ours.json" <<'PY'
import json, resource, subprocess, sys

work, magick, bench, ours_file = sys.argv[1:5]
ours = {}
for b in json.load(open(ours_file))["benchmarks"]:
    if b.get("run_type") == "iteration":
        name = b["run_name"] if "run_name" in b else b["name"].split("/")[0]
        ours[name] = max(ours.get(name, 0.0), b["Mpx/s"])

def cpu_seconds(args, runs=3):
    best = None
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run(args, check=True)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        t = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best = t if best is None else min(best, t)
    return best

cases = [
    ("BM_Down1000x750", "large", 4000, 3000, 1000, 750),
    ("BM_Down837x628", "large", 4000, 3000, 837, 628),
    ("BM_Up4000x3000", "small", 1000, 750, 4000, 3000),
]
print(f"{'case':18s} {'ours Mpx/s':>10s} {'IM Mpx/s':>9s} {'ratio':>6s}   output difference (ours vs IM)")
for name, pic, sw, sh, w, h in cases:
    src = f"{work}/{pic}.ppm"
    base = cpu_seconds([magick, "-limit", "thread", "1", src, "null:"])
    full = cpu_seconds([magick, "-limit", "thread", "1", src, "-filter", "Cubic",
                        "-resize", f"{w}x{h}!", "null:"])
    mpx = max(sw * sh, w * h) / 1e6
    net = full - base
    im_rate = mpx / net if net > 0 else float("nan")
    a, b = f"{work}/ours_{name}.ppm", f"{work}/im_{name}.ppm"
    subprocess.run([bench, "--zoom", src, str(w), str(h), a], check=True)
    subprocess.run([magick, "-limit", "thread", "1", src, "-filter", "Cubic", "-resize",
                    f"{w}x{h}!", "-depth", "8", b], check=True)
    diff = subprocess.run([bench, "--compare", a, b], check=True, capture_output=True,
                          text=True).stdout.strip()
    rate = ours.get(name, float("nan"))
    print(f"{name:18s} {rate:10.1f} {im_rate:9.1f} {rate / im_rate:6.2f}   {diff}")
PY
