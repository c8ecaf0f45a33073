#!/usr/bin/env bash
# Builds and runs every test: the portable code natively under AddressSanitizer
# and UndefinedBehaviorSanitizer, the fuzz targets briefly, the whole system
# for 64-bit Windows under Wine on a virtual display, and a compile-and-link
# check of the 32-bit Windows build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLO_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh" || exit 1

passed=0
failed=0
status=0

configure_and_build() {  # folder, cmake arguments...
  local dir=$1
  shift
  cmake -S "$root" -B "$build/$dir" -G Ninja "$@" >"$build/$dir.configure.log" 2>&1 ||
    { cat "$build/$dir.configure.log"; return 1; }
  cmake --build "$build/$dir" || return 1
}

run_ctest() {  # folder
  local log="$build/$1.ctest.log"
  (cd "$build/$1" && ctest --output-on-failure --no-tests=error "${@:2}") 2>&1 | tee "$log"
  local summary
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    status=1
    return
  fi
  local f total
  f=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  total=$(echo "$summary" | sed -E 's/.* tests failed out of ([0-9]+).*/\1/')
  passed=$((passed + total - f))
  failed=$((failed + f))
  [ "$f" -eq 0 ] || status=1
}

mkdir -p "$build"

echo "== native (sanitizers) =="
if configure_and_build native-san -DQUILLO_SANITIZE=ON; then
  run_ctest native-san -j2
else
  status=1
fi

echo "== fuzz targets =="
if CC=clang CXX=clang++ configure_and_build fuzz -DQUILLO_FUZZ=ON; then
  run_ctest fuzz
else
  status=1
fi

echo "== Windows x86-64 under Wine =="
if configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake"; then
  run_ctest win64
else
  status=1
fi

echo "== Windows i686 (build only) =="
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win32.cmake" || status=1

echo
[ $status -eq 0 ] || echo "Some builds or tests FAILED (see above)."
echo "total: $passed passed, $failed failed"
exit $status
