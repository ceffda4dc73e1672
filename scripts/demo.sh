#!/usr/bin/env bash
# Builds everything and runs the demo scenarios on a simulated Pocket PC. Each scenario also
# writes an HTML filmstrip (every line, what it did, the screen after it) to build/default/reports.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
reports=$PWD/build/default/reports
mkdir -p "$reports"
written=()
for scenario in scenarios/*.pocket; do
  name=$(basename "$scenario" .pocket)
  echo "=== ${scenario} ==="
  if head -n 5 "$scenario" | grep -q '^boot desktop'; then
    build/default/tools/pocketsim/pocketsim "${scenario}"  # a desktop PC has no screen to show
  else
    build/default/tools/pocketsim/pocketsim --report "$reports/$name.html" "${scenario}"
    written+=("$reports/$name.html")
  fi
done
echo
echo "Filmstrips of the scenarios (open in a browser):"
for report in "${written[@]}"; do echo "  file://$report"; done
echo "The live device: build/default/tools/pocketsim/pocketsim --serve 8080, then open http://127.0.0.1:8080/"
