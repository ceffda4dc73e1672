#!/bin/sh
# Runs one pocketsim script and checks the outcome that the script itself declares:
#   # want-exit: N         the exit status (0 when not given)
#   # want-stderr: REGEX   an extended regular expression some line of the error output matches
#   # want-stdout: REGEX   likewise for the standard output
# Usage: run_script.sh POCKETSIM SCRIPT [POCKETSIM-OPTION...]
set -u
pocketsim=$1
script=$2
shift 2
out=$(mktemp) && err=$(mktemp) && patterns=$(mktemp) || exit 1
trap 'rm -f "$out" "$err" "$patterns"' EXIT

"$pocketsim" "$@" "$script" >"$out" 2>"$err"
status=$?

failed=0
want=$(sed -n 's/^# want-exit: *//p' "$script")
if [ "$status" -ne "${want:-0}" ]; then
    echo "exit status $status, wanted ${want:-0}"
    failed=1
fi
for stream in stdout stderr; do
    file=$out
    [ "$stream" = stderr ] && file=$err
    sed -n "s/^# want-$stream: *//p" "$script" >"$patterns"
    while IFS= read -r pattern; do
        if ! grep -Eq -- "$pattern" "$file"; then
            echo "no line of $stream matches: $pattern"
            failed=1
        fi
    done <"$patterns"
done
if [ "$failed" -ne 0 ]; then
    echo "--- stdout of $script"
    cat "$out"
    echo "--- stderr"
    cat "$err"
fi
exit "$failed"
