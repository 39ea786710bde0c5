#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: plainly, and built with
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails the run). Before that it checks
# the formatting and the direction of the includes between the source folders (python3 comes with
# clang-format), and builds the calculation core alone, without Qt. The builds are the presets of
# CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
# The sanitizer options come with the tests themselves (tests/CMakeLists.txt).

echo "== formatting"
bash scripts/check-format.sh

echo "== include directions"
python3 scripts/check-includes.py --self-test
python3 scripts/check-includes.py

status=0
echo "== core build, without Qt"
cmake --preset core >/dev/null
cmake --build --preset core -j"$jobs"
ctest --preset core -j"$jobs" || status=1

for variant in plain sanitize; do
    echo "== $variant build"
    cmake --preset "test-$variant" >/dev/null
    cmake --build --preset "test-$variant" -j"$jobs"
    echo "== $variant tests"
    ctest --preset "test-$variant" -j"$jobs" || status=1
done
exit $status
