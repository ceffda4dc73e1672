#!/usr/bin/env bash
# Benchmarks: wall time of simulated runs (not a test; prints figures).
#   scripts/bench.sh [ARGS]   pocketbench: a simulated day of the battery monitor, the explorer's steps per second
#   scripts/bench.sh screen   a busy screen's picture, and a touch on the live page to its new picture
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
if [[ ${1:-} == screen ]]; then
  build/default/screen/pocketscreen bench 500
  /usr/bin/python3 tests/browser/touch_latency.py build/default/tools/pocketsim/pocketsim 50
  exit
fi
build/default/tools/bench/pocketbench "$@"
