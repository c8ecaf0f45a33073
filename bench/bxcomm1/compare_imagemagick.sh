#!/bin/sh
# Times the colour adjustment kernels and ImageMagick's nearest equivalents
# on the same 4000 x 3000 picture, one thread each, and prints megapixels per
# second for both and our speed-up.
#
#   bench/bxcomm1/compare_imagemagick.sh [build-folder]
#
# The picture is a corpus photograph scaled to 4000 x 3000 with a little
# sensor-like noise. Both sides are measured in CPU time (user + system),
# best of several runs, so other work on a shared machine disturbs the
# figures as little as possible. ImageMagick's time for an operation is that
# of "convert in.ppm <operation> null:" minus that of "convert in.ppm null:",
# so reading the file is not counted.
set -eu

. "$(dirname "$0")/../bench_setup.sh"
build=${1:-$root/build/kern-bench}
photo=$corpus/photos/Storm.jpg
bench_build bxcomm1_bench "$build"

picture=$work/in.ppm
"$magick" "$photo" -resize '4000x3000!' -seed 1 -attenuate 0.4 +noise Gaussian -depth 8 "$picture"

QUILLO_BENCH_PPM=$picture "$build/bench/bxcomm1/bxcomm1_bench" --benchmark_format=json \
  --benchmark_repetitions=5 >"$work/ours.json"

python3 - "$work/ours.json" "$magick" "$picture" <<'PY'
import json, resource, subprocess, sys

ours_file, magick, picture = sys.argv[1:4]
ours = {}
for b in json.load(open(ours_file))["benchmarks"]:
    if b.get("run_type") == "iteration":
        name = b["run_name"] if "run_name" in b else b["name"].split("/")[0]
        ours[name] = max(ours.get(name, 0.0), b["Mpx/s"])

def cpu_seconds(options, runs=5):
    best = None
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run([magick, "-limit", "thread", "1", picture, *options, "null:"], check=True)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        t = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best = t if best is None else min(best, t)
    return best

mpx = 4000 * 3000 / 1e6
base = cpu_seconds([])
ops = {
    "BM_BrightnessContrast": ["-brightness-contrast", "10x20"],
    "BM_Modulate": ["-modulate", "110,90,105"],
    "BM_GammaMaster": ["-gamma", "1.4"],
    "BM_GammaPerChannel": ["-gamma", "1.4"],
}
im_rate = {}
for name, op in ops.items():
    key = " ".join(op)
    if key not in im_rate:
        net = cpu_seconds(op) - base
        im_rate[key] = mpx / net if net > 0 else None

print(f"ImageMagick read-only run: {base:.3f} s CPU (subtracted)")
print(f"{'kernel':30s} {'ours Mpx/s':>11s} {'IM Mpx/s':>9s} {'ratio':>6s}  IM operation")
for name, rate in ours.items():
    if name in ops:
        key = " ".join(ops[name])
        imr = im_rate[key]
        if imr:
            print(f"{name:30s} {rate:11.1f} {imr:9.1f} {rate / imr:6.1f}  {key}")
        else:
            print(f"{name:30s} {rate:11.1f} {'n/a':>9s} {'':>6s}  {key} (below measurement)")
    else:
        print(f"{name:30s} {rate:11.1f} {'-':>9s} {'':>6s}  (no equivalent)")
PY
