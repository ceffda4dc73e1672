#!/usr/bin/env bash
# Benchmarks: wall time of simulated runs (not a test; prints figures).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
build/default/tools/bench/pocketbench "$@"
