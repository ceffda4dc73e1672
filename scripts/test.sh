#!/usr/bin/env bash
# Builds everything and runs every test: the simulation build, then the desktop launcher as a real
# Windows program under Wine (the mingw preset). `scripts/test.sh PRESET` runs one preset only:
# `sanitize` the simulation under ASan and UBSan, `mingw` the Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
if (($#)); then presets=("$1"); else presets=(default mingw); fi

# Every preset runs even when one fails; the result says whether all passed.
failed=()
for preset in "${presets[@]}"; do
  (scripts/build.sh "$preset" && ctest --preset "$preset" -j "$(nproc)") || failed+=("$preset")
done
if ((${#failed[@]})); then
  echo "FAILED: ${failed[*]}" >&2
  exit 1
fi
