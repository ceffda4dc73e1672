#!/usr/bin/env bash
# Builds everything and runs the demo scenarios on a simulated Pocket PC.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
for scenario in scenarios/*.pocket; do
  echo "=== ${scenario} ==="
  build/default/tools/pocketsim/pocketsim "${scenario}"
done
