#!/usr/bin/env bash
# Runs the benchmarks (PROGRAMS, by default all of them) three times in a row and prints, for every
# figure they print, the three values and how far apart they are: the
# spread is (largest - smallest) / smallest.  The load average is printed
# before each run, since the machine's other work moves every figure.
#
#   bench/three_runs.sh [BUILD_DIR] [--questions N]
#
# The figures are the lines "name: value ..." of the programs (ms, ratios,
# MB); the ratios pair each of our timings with its floor taken right
# after it, so they agree far better than the plain times when the machine
# is shared.
set -euo pipefail
build=${1:-build}
shift || true
programs=(${PROGRAMS:-bench_practice_start bench_exam bench_answer_path bench_practice bench_records bench_keypoints
                      bench_export bench_authoring bench_upgrade bench_store bench_backup bench_import})
declare -A values
order=()
for run in 1 2 3; do
    for p in "${programs[@]}"; do
        echo "run $run, $p, load average $(cut -d' ' -f1-3 /proc/loadavg)" >&2
        while IFS= read -r line; do
            name=${line%%:*}
            value=$(sed -E 's/^[^:]+: *([0-9.]+).*/\1/' <<<"$line")
            [[ -v "values[$name]" ]] || order+=("$name")
            values[$name]="${values[$name]:-} $value"
        done < <("$build/bench/$p" "$@" 2>/dev/null |
                 grep -E '^[a-z0-9 -]+ (ms|ratio|extra MB): [0-9.]+')
    done
done
printf '%-26s %10s %10s %10s %8s\n' figure "run 1" "run 2" "run 3" spread
for name in "${order[@]}"; do
    read -r a b c <<<"${values[$name]}"
    awk -v n="$name" -v a="$a" -v b="$b" -v c="${c:-nan}" 'BEGIN {
        lo = a; hi = a
        if (b < lo) lo = b; if (b > hi) hi = b
        if (c < lo) lo = c; if (c > hi) hi = c
        printf "%-26s %10s %10s %10s %7.1f%%\n", n, a, b, c, (lo > 0 ? 100 * (hi - lo) / lo : 0)
    }'
done
