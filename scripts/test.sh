#!/usr/bin/env bash
# Builds everything and runs every test. `scripts/test.sh sanitize` does the same under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/build.sh "$preset"
ctest --preset "$preset" -j "$(nproc)"
