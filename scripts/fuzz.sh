#!/usr/bin/env bash
# Fuzzes the launcher's folder cut (tests/fuzz) under libFuzzer, ASan and UBSan, code pages 1252
# and 932, starting from the seed corpus in tests/fuzz/corpus.
#   scripts/fuzz.sh            5 minutes, growing a working corpus in build/fuzz/corpus
#   scripts/fuzz.sh ARGS...    the same with libFuzzer's own arguments (-max_total_time=3600, -jobs=2, ...)
#   scripts/fuzz.sh --brief    a short run that is the same on every machine (fixed seed and count)
# A failing input is written to build/fuzz/artifacts/; run it again with
#   build/fuzz/folder_cut_fuzzer build/fuzz/artifacts/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake -S tests/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j 2 >/dev/null

# From build/fuzz, so that what libFuzzer writes where it runs (-jobs logs) stays there.
seeds="$PWD/tests/fuzz/corpus"
cd build/fuzz
fuzzer=./folder_cut_fuzzer
mkdir -p artifacts
common=(-artifact_prefix=artifacts/ -print_final_stats=1)

# New inputs go to the first corpus folder given; the seed corpus in the tree stays as it is.
if [[ ${1:-} == --brief ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  log="$work/log"
  # Comparisons of pointers feed the mutations addresses, which differ from run to run: without
  # them, the same seed makes the same inputs.
  if ! "$fuzzer" -seed=1 -runs=200000 -use_cmp=0 "${common[@]}" "$work" "$seeds" >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
else
  mkdir -p corpus
  log=last-run.log
  (($#)) || set -- -max_total_time=300
  if ! "$fuzzer" "$@" "${common[@]}" corpus "$seeds" 2>&1 | tee "$log"; then
    exit 1
  fi
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "fuzz: folder cut, code pages 1252 and 932: ${runs:-?} executions, no failure"
