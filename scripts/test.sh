#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: plainly, and built with
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"

status=0
for variant in plain sanitize; do
    dir="build/test-$variant"
    sanitize=OFF bench=ON
    [[ $variant == sanitize ]] && sanitize=ON bench=OFF
    echo "== $variant build"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTELVORN_WERROR=ON \
        -DSTELVORN_SANITIZE=$sanitize -DSTELVORN_BENCH=$bench >/dev/null
    cmake --build "$dir" -j"$jobs"
    echo "== $variant tests"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" || status=1
done
exit $status
