#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz (clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer; only the core libraries) into build-fuzz,
# and runs each target in turn on its seed corpus (tests/fuzz/corpus/<target>)
# and on the inputs it found before (build-fuzz/corpus/<target>).
#
#   scripts/fuzz.sh [SECONDS]    each target SECONDS long (default 12)
#
# A target that finds an input breaking one of its checks stops, saves the
# input as build-fuzz/crash-* and the script fails. Prints the executions of
# each target and their total.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-12}
CXX_FUZZ=${CXX_FUZZ:-$(command -v clang++-14 || command -v clang++)}
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
mkdir -p build-fuzz
if ! { cmake -S . -B build-fuzz -G Ninja -DVN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DCMAKE_CXX_COMPILER="$CXX_FUZZ" "${launcher[@]}" &&
       ninja -C build-fuzz -j"$(nproc)"; } >build-fuzz/build.log 2>&1; then
  tail -40 build-fuzz/build.log
  echo "fuzzing: the fuzz targets do not build"
  exit 1
fi

export LC_ALL=C.UTF-8
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
total=0
failed=0
for src in tests/fuzz/fuzz_*.cpp; do
  target=$(basename "$src" .cpp)
  mkdir -p "build-fuzz/corpus/$target"
  log="build-fuzz/$target.log"
  if (cd build-fuzz && "tests/fuzz/$target" -max_total_time="$seconds" -timeout=20 \
        -rss_limit_mb=2560 -max_len=4096 -print_final_stats=1 \
        "corpus/$target" "../tests/fuzz/corpus/$target") >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "$target: ${runs:-0} executions in ${seconds} s"
    total=$((total + ${runs:-0}))
  else
    echo "$target: FAILED (see $log)"
    tail -40 "$log"
    failed=$((failed + 1))
  fi
done
echo "fuzzing: $total executions in total, $failed target(s) with a failure"
[ "$failed" -eq 0 ]
