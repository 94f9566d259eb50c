#!/usr/bin/env bash
# The smoke run of one benchmark program, as the test suite runs it: once,
# on a small bank, with token rounds.  It fails when the program ends badly,
# a benchmark reports an error, or one of the named figures is not printed
# with a number.
#
#   bench/smoke.sh PROGRAM FIGURE...      (PELLBROOK_SMOKE_QUESTIONS, default 2000)
set -uo pipefail
program=$1
shift
out=$(PELLBROOK_BENCH_SMOKE=1 "$program" --questions "${PELLBROOK_SMOKE_QUESTIONS:-2000}" 2>&1)
rc=$?
printf '%s\n' "$out"
if [ "$rc" -ne 0 ]; then
    echo "smoke: $(basename "$program") ended with $rc" >&2
    exit 1
fi
if grep -q 'ERROR OCCURRED' <<<"$out"; then
    echo "smoke: a benchmark of $(basename "$program") reported an error" >&2
    exit 1
fi
missing=0
for figure in "$@"; do
    if ! grep -qE "^${figure}: [0-9]" <<<"$out"; then
        echo "smoke: figure '${figure}' is missing or not a number" >&2
        missing=1
    fi
done
exit $missing
