#!/usr/bin/env bash
# Builds everything and runs every test: the simulation build; the desktop launcher as a real
# Windows program under Wine (the mingw preset); the whole simulation suite again under ASan and
# UBSan (the sanitize preset); and a short deterministic run of the launcher's fuzz target.
# `scripts/test.sh PRESET` runs one preset only (default, mingw, sanitize), `scripts/test.sh fuzz`
# the short fuzz run only.
set -euo pipefail
cd "$(dirname "$0")/.."
if (($#)); then steps=("$1"); else steps=(default mingw sanitize fuzz); fi

# Every step runs even when one fails; the result says whether all passed.
failed=()
for step in "${steps[@]}"; do
  echo "== $step"
  start=$SECONDS
  if [[ $step == fuzz ]]; then
    scripts/fuzz.sh --brief || failed+=("$step")
  else
    (scripts/build.sh "$step" && ctest --preset "$step" -j "$(nproc)") || failed+=("$step")
  fi
  echo "== $step: $((SECONDS - start)) s"
done
if ((${#failed[@]})); then
  echo "FAILED: ${failed[*]}" >&2
  exit 1
fi
