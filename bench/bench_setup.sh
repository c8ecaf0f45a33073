# Set-up shared by the ImageMagick comparison scripts, sourced by them:
#   . "$(dirname "$0")/../bench_setup.sh"
#   bench_build TARGET BUILD-FOLDER
# gives root (the source tree), magick (the real ImageMagick convert; a
# stand-in elsewhere on PATH is never used), corpus, a scratch folder `work`
# removed on exit, single-threaded ImageMagick, and builds TARGET in a
# Release build with the benchmarks on.
root=$(cd "$(dirname "$0")/../.." && pwd)
magick=/usr/bin/convert
corpus=$root/../shared/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1

bench_build() {
  cmake -S "$root" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLO_BENCH=ON >"$work/cmake.log" ||
    { cat "$work/cmake.log"; exit 1; }
  cmake --build "$2" --target "$1" >"$work/build.log" || { cat "$work/build.log"; exit 1; }
}
