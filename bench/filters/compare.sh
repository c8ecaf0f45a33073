#!/bin/sh
# Times the filter and geometry kernels, ImageMagick and libvips on the same
# 4000 x 3000 picture, one thread each, and prints megapixels of the source
# per second for all three and our speed against each.
#
#   bench/filters/compare.sh [build-folder]
#
# The picture is a corpus photograph scaled to 4000 x 3000 with a little
# sensor-like noise. Everything is measured in CPU time (user + system),
# best of several runs, and the three take turns in the same rounds, so
# load from other work on a shared machine falls on all of them alike.
# Ours is the best of six runs of filters_bench. ImageMagick's time for an
# operation is that of "convert in.ppm <operation> x N null:" minus that of
# "convert in.ppm null:", divided by N, best of six; N is chosen so that the
# operations take about a second, well above the read-only run's noise.
# libvips cannot repeat an operation within one run, so its time is that of
# "vips <operation> in.v out.v" minus that of "vips copy in.v out.v"
# (start-up, mapping the input and writing an output file), best of eleven
# as start-up is most of each run, on its own .v format so that decoding
# costs nothing.
set -eu

. "$(dirname "$0")/../bench_setup.sh"
build=${1:-$root/build/filters-bench}
photo=$corpus/photos/Storm.jpg
bench_build filters_bench "$build"
export VIPS_CONCURRENCY=1
if ! command -v vips >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q libvips-tools >/dev/null ||
    { echo "libvips-tools is needed (apt-get install libvips-tools)" >&2; exit 1; }
fi

picture=$work/in.ppm
"$magick" "$photo" -resize '4000x3000!' -seed 1 -attenuate 0.4 +noise Gaussian -depth 8 "$picture"
vips copy "$picture" "$work/in.v"

python3 - "$work" "$magick" "$build/bench/filters/filters_bench" <<'PY'
import json, math, os, resource, subprocess, sys

work, magick, bench = sys.argv[1:4]
picture, vin, vout = f"{work}/in.ppm", f"{work}/in.v", f"{work}/out.v"
mpx = 4000 * 3000 / 1e6

ours = {}
def run_ours():
    """One run of every benchmark; keeps each one's best rate."""
    result = subprocess.run([bench, "--benchmark_format=json"], check=True, stdout=subprocess.PIPE,
                            text=True, env={**os.environ, "QUILLO_BENCH_PPM": picture})
    for b in json.loads(result.stdout)["benchmarks"]:
        if not b.get("error_occurred"):
            ours[b["name"]] = max(ours.get(b["name"], 0.0), b["Mpx/s"])

def cpu_seconds(args):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)

def best_of(commands, best):
    """One run of each command, keeping each one's best CPU time in `best`."""
    for i, args in enumerate(commands):
        best[i] = min(best[i], cpu_seconds(args))

# Our sharpen's column kernel, as an ImageMagick kernel and a libvips matrix.
sharpen = (-4, 34, -4)
with open(f"{work}/sharpen.mat", "w") as f:
    f.write(f"1 3 {sum(sharpen)} 0\n" + "".join(f"{v}\n" for v in sharpen))
im_sharpen = "1x3: " + ",".join(f"{v / sum(sharpen):.6f}" for v in sharpen)

# Our shear at 20 / 10 degrees moves rows by s = tan(10 degrees) a row and
# then columns by t = sin(10 degrees) a column: ImageMagick's -shear XxY
# moves them by tan(X) and tan(Y); libvips takes the product of the two
# shears as a matrix.
s, t = math.tan(math.radians(10)), math.sin(math.radians(10))
im_shear = f"10x{math.degrees(math.atan(t)):.4f}"
vips_shear = f"1 {s:.6f} {t:.6f} {1 + s * t:.6f}"

# Each row: our benchmark, its name in the table, ImageMagick's options
# (None: nothing alike), whether they change the picture's size (then each
# repetition works on a fresh clone of the input), and libvips' operation
# with its arguments after "in out" (None: nothing alike).
rows = [
    # Sigma 3 over 9 pixels each side: beyond, our curve is below 1/255 of
    # its peak and rounds to 0.
    ("BM_GaussBlur", "Gaussian blur sigma 3", ["-blur", "9x3"], False,
     ["gaussblur", "3", "--min-ampl", "0.004"]),
    # Sigma 3, 13 taps, amount 1, threshold 0. libvips sharpens L* only
    # (through Lab) with a gain curve, here made linear with gain 1.
    ("BM_Unsharp", "unsharp mask sigma 3", ["-unsharp", "6x3+1+0"], False,
     ["sharpen", "--sigma", "3", "--x1", "0", "--m1", "1", "--m2", "1", "--y2", "100", "--y3", "100"]),
    # The same three-tap column kernel on both.
    ("BM_Sharpen", "sharpen (-4,34,-4)/26", ["-morphology", "Convolve", im_sharpen], False,
     ["conv", f"{work}/sharpen.mat", "--precision", "integer"]),
    # ImageMagick's nearest is a 3 x 3 Laplacian, libvips' the Sobel magnitude.
    ("BM_Edge", "edge (gradient magnitude)", ["-edge", "1"], False, ["sobel"]),
    # The same hulling method.
    ("BM_Despeckle", "despeckle", ["-despeckle"], False, None),
    # Saturation and value stretched to their full range through HSV.
    ("BM_StretchHsv", "contrast stretch HSV",
     ["-colorspace", "HSB", "-channel", "GB", "-contrast-stretch", "0", "+channel", "-colorspace", "sRGB"],
     False, None),
    # Each channel's min .. max to 0 .. 255 (libvips: all channels together).
    ("BM_StretchChannels", "contrast stretch channels", ["-channel", "RGB", "-contrast-stretch", "0", "+channel"],
     False, ["scale"]),
    ("BM_Rotate30", "rotate 30", ["-rotate", "30"], True, ["rotate", "30"]),
    ("BM_Shear20x10", "shear 20/10", ["-shear", im_shear], True, ["affine", vips_shear]),
]
# The zoom's kernels, 4000 x 3000 to 1600 x 1200 (a scale of 0.4), with
# ImageMagick's filter of the same function and support. ImageMagick's own
# Hanning, Hamming and Blackman are windowed sincs three times wider, so
# the bare windows are asked for. libvips' linear, cubic (Catmull-Rom),
# mitchell and lanczos3 are the same functions.
def bare(name, support):
    return ["-define", f"filter:filter={name}", "-define", "filter:window=Box",
            "-define", f"filter:support={support}"]
zoom = [
    (461, "box", ["-filter", "Box"], None),
    (462, "triangle", ["-filter", "Triangle"], "linear"),
    (463, "Hermite", ["-filter", "Hermite"], None),
    (464, "Hanning", bare("Hanning", 1), None),
    (465, "Hamming", bare("Hamming", 1), None),
    (466, "Blackman", bare("Blackman", 1), None),
    (467, "Gaussian", ["-filter", "Gaussian", "-define", "filter:support=1.25"], None),
    (468, "quadratic", ["-filter", "Quadratic"], None),
    (469, "B-spline", ["-filter", "Spline"], None),
    (470, "Catmull-Rom", ["-filter", "Catrom"], "cubic"),
    (471, "Mitchell", ["-filter", "Mitchell"], "mitchell"),
    (472, "Lanczos 3", ["-filter", "Lanczos"], "lanczos3"),
    (473, "Bessel", ["-filter", "Bessel"], None),
    (474, "sinc 4", ["-filter", "Sinc"], None),
]
for button, name, options, kernel in zoom:
    rows.append((f"BM_Resample/{button}", f"resize {name}", options + ["-resize", "1600x1200!"], True,
                 kernel and ["resize", "0.4", "--kernel", kernel, "--gap", "0"]))

def magick_run(options, resizes, repeat):
    step = ["(", "+clone", *options, ")", "+delete"] if resizes else options
    return [magick, "-limit", "thread", "1", picture, *(step * repeat), "null:"]

# ImageMagick: one run each to choose the repetitions. Then eleven rounds
# of libvips, every other one also with ImageMagick and our benchmark.
im_rows = [r for r in rows if r[2]]
first = [math.inf] * (len(im_rows) + 1)
best_of([magick_run([], False, 1)] + [magick_run(r[2], r[3], 1) for r in im_rows], first)
repeats = [max(1, min(20, math.ceil(1.0 / max(t - first[0], 0.05)))) for t in first[1:]]
im_runs = [magick_run([], False, 1)] + [magick_run(r[2], r[3], n) for r, n in zip(im_rows, repeats)]
vips_rows = [r for r in rows if r[4]]
vips_runs = [["vips", "copy", vin, vout]] + [["vips", r[4][0], vin, vout, *r[4][1:]] for r in vips_rows]
im_best, vips_best = [math.inf] * len(im_runs), [math.inf] * len(vips_runs)
for turn in range(11):
    best_of(vips_runs, vips_best)
    if turn % 2 == 0:
        best_of(im_runs, im_best)
        run_ours()

im_rate = {r[0]: (mpx * n / (t - im_best[0]) if t > im_best[0] else None)
           for r, n, t in zip(im_rows, repeats, im_best[1:])}
vips_rate = {r[0]: (mpx / (t - vips_best[0]) if t > vips_best[0] else None)
             for r, t in zip(vips_rows, vips_best[1:])}

def cell(value, width, digits):
    return f"{value:{width}.{digits}f}" if value else f"{'-':>{width}s}"

print(f"ImageMagick read-only run {im_best[0]:.3f} s, vips copy run {vips_best[0]:.3f} s CPU (subtracted)")
print(f"{'operation':28s} {'ours Mpx/s':>10s} {'IM Mpx/s':>9s} {'ours/IM':>7s} {'vips Mpx/s':>10s} "
      f"{'ours/vips':>9s}  misses")
for key, name, *_ in rows:
    rate = ours.get(key)
    imr, vr = im_rate.get(key), vips_rate.get(key)
    misses = []
    if rate and imr and rate < 2 * imr:
        misses.append("<2x IM")
    if rate and vr and rate < vr:
        misses.append("slower than vips")
    print(f"{name:28s} {cell(rate, 10, 1)} {cell(imr, 9, 1)} {cell(rate and imr and rate / imr, 7, 2)} "
          f"{cell(vr, 10, 1)} {cell(rate and vr and rate / vr, 9, 2)}  {', '.join(misses)}")

print("\nCommands (ImageMagick: convert -limit thread 1 in.ppm <operation> x N null:):")
for r, n in zip(im_rows, repeats):
    print(f"  {r[1]:28s} IM x{n:<2d} {' '.join(r[2])}")
for r in vips_rows:
    print(f"  {r[1]:28s} vips {r[4][0]} in.v out.v {' '.join(r[4][1:])}".replace(work + "/", ""))
PY
