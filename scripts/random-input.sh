#!/usr/bin/env bash
# Runs the random-input test (tests/random_input_test.cpp) for as long as asked: a seeded stream of
# user events into the real window, checked against the calculation core after every event.
#   bash scripts/random-input.sh [seconds] [seed]             built with ASan and UBSan (default 600 s)
#   bash scripts/random-input.sh --release [seconds] [seed]   a Release build, to time the events
# Without a seed, one is taken from the clock. Either way the run prints its seed, and a failure
# prints the last events and the command that replays them. At the end it reports the number of
# events and the slowest one.
set -euo pipefail
cd "$(dirname "$0")/.."
variant=sanitize
if [[ "${1:-}" == --release ]]; then
    variant=release
    shift
fi
seconds="${1:-600}"
seed=()
[[ -n "${2:-}" ]] && seed=(--seed "$2")
bash scripts/install-deps.sh

if [[ $variant == sanitize ]]; then
    # The build of scripts/test.sh, with the options its tests run under.
    preset=test-sanitize
    export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
else
    preset=release
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target stelvorn_random_input -j"$(nproc)" >/dev/null
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
exec "build/$preset/tests/stelvorn_random_input" --seconds "$seconds" "${seed[@]}"
