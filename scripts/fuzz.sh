#!/usr/bin/env bash
# Runs one libFuzzer target (clang-14, ASan and UBSan) for the given number of seconds (default 180):
#   bash scripts/fuzz.sh settings [seconds]       the settings file reader and writer
#   bash scripts/fuzz.sh resistivity [seconds]    the resistivity read out of a soil text
#   bash scripts/fuzz.sh numeric-text [seconds]   the texts of the numeric fields
#   bash scripts/fuzz.sh survey [seconds]         the survey table's text (a paste or a CSV file)
#   bash scripts/fuzz.sh calculation [seconds]    the calculation file "*.stelvorn"
# It installs what is missing and builds the target in build/fuzz. New inputs are kept in
# build/fuzz/corpus-<name> (build/fuzz/corpus for settings); a failing input is saved as
# build/fuzz/crash-* and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
name="${1:?which target: settings, resistivity, numeric-text, survey or calculation}"
seconds="${2:-180}"
case "$name" in
settings) target=settings_reader_fuzz seeds=fuzz/corpus dict=fuzz/settings.dict max_len=16384 kept=corpus ;;
resistivity) target=resistivity_text_fuzz seeds=fuzz/corpus-resistivity dict=fuzz/resistivity.dict max_len=4096 kept=corpus-resistivity ;;
numeric-text) target=numeric_text_fuzz seeds=fuzz/corpus-numeric dict=fuzz/numeric.dict max_len=4096 kept=corpus-numeric ;;
survey) target=survey_table_fuzz seeds=fuzz/corpus-survey dict=fuzz/survey.dict max_len=8192 kept=corpus-survey ;;
calculation) target=calculation_file_fuzz seeds=fuzz/corpus-calculation dict=fuzz/calculation.dict max_len=16384 kept=corpus-calculation ;;
*) echo "unknown fuzz target: $name" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh clang-14 libclang-rt-14-dev

dir=build/fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "$target" -j"$(nproc)"
mkdir -p "$dir/$kept"
exec "$dir/fuzz/$target" "$dir/$kept" "$seeds" -dict="$dict" -max_total_time="$seconds" -max_len="$max_len" \
    -timeout=10 -artifact_prefix="$dir/" -print_final_stats=1
