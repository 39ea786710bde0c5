#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: plainly, and built with
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
# The sanitizer options come with the tests themselves (tests/CMakeLists.txt).

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
