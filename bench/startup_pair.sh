#!/bin/bash
# The start of the program against an empty Qt Widgets window of the same client size, paired in one
# run under Xvfb: builds both in Release, runs them in turn (A B A B ...), and prints the medians of
# the wall clock, the processor time and the peak memory, their ratios, and the command that measured
# them.
#
#   bash bench/startup_pair.sh [runs]            # default 9 runs of each
#   PROBE=/other/build/tests/stelvorn_startup_probe bash bench/startup_pair.sh
#                                                # another build of the probe against the same yardstick
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/release
runner=$build/bench/stelvorn_run_measured
empty=$build/bench/stelvorn_empty_window
probe=${PROBE:-$build/tests/stelvorn_startup_probe}
screen="-screen 0 1024x768x24"

if [ "${1:-}" != "--on-this-display" ]; then
    runs=${1:-9}
    [[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "runs must be a positive number: $runs" >&2; exit 2; }
    (cd "$root" && cmake --preset release >/dev/null &&
        cmake --build --preset release -j2 --target stelvorn_startup_probe stelvorn_empty_window \
            stelvorn_run_measured >/dev/null)
    exec xvfb-run -a -s "$screen" bash "${BASH_SOURCE[0]}" --on-this-display "$runs"
fi
runs=$2

unset QT_QPA_PLATFORM QT_SCALE_FACTOR
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
results=$(mktemp -d)
trap 'rm -rf "$XDG_RUNTIME_DIR" "$results"' EXIT

measure() { # name executable: one run, its "wall_ms cpu_ms peak_kib" appended to results/name
    local line
    line=$("$runner" "$2" 2>>"$results/$1.log" | tail -n 1) ||
        { echo "$2 failed; its messages:" >&2; cat "$results/$1.log" >&2; exit 1; }
    echo "$line" >>"$results/$1"
}

# One run of each first, not counted, so that both start from a warm file cache.
measure warmup "$empty"
measure warmup "$probe"
for _ in $(seq "$runs"); do
    measure empty "$empty"
    measure probe "$probe"
done

median() { # file column
    awk -v c="$2" '{ print $c }' "$1" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
read -r pw pc pm < <(echo "$(median "$results/probe" 1) $(median "$results/probe" 2) $(median "$results/probe" 3)")
read -r ew ec em < <(echo "$(median "$results/empty" 1) $(median "$results/empty" 2) $(median "$results/empty" 3)")

echo "Measured with: $runner <executable> (wall clock from fork to exit; processor time, user and"
echo "system, and the maximum resident set from wait4), under xvfb-run -a -s \"$screen\","
echo "A = $empty, B = $probe,"
echo "one unmeasured run of each, then A B A B ..., $runs runs of each, median:"
echo
awk -v pw="$pw" -v pc="$pc" -v pm="$pm" -v ew="$ew" -v ec="$ec" -v em="$em" 'BEGIN {
    print "| | wall | processor | peak memory |"
    print "|---|---|---|---|"
    printf "| `tests/startup_probe` | %.0f ms | %.0f ms | %.1f MiB |\n", pw, pc, pm / 1024
    printf "| empty window | %.0f ms | %.0f ms | %.1f MiB |\n", ew, ec, em / 1024
    printf "| ratio / difference | %.2f× | %.2f× | %+.1f MiB |\n", pw / ew, pc / ec, (pm - em) / 1024
}'
