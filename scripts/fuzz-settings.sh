#!/usr/bin/env bash
# Fuzzes the settings file reader and writer with libFuzzer (clang-14, ASan and UBSan) for the
# given number of seconds (default 180). New inputs are kept in build/fuzz/corpus; a failing
# input is saved as build/fuzz/crash-* and the script fails.
#   bash scripts/fuzz-settings.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-180}"
bash scripts/install-deps.sh clang-14 libclang-rt-14-dev

dir=build/fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
mkdir -p "$dir/corpus"
exec "$dir/fuzz/settings_reader_fuzz" "$dir/corpus" fuzz/corpus -dict=fuzz/settings.dict \
    -max_total_time="$seconds" -max_len=16384 -timeout=10 -artifact_prefix="$dir/" -print_final_stats=1
