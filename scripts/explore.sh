#!/usr/bin/env bash
# Randomized exploration of the device programs, longer than the test run's fixed seeds.
#   scripts/explore.sh                         200 seeds x 5000 steps
#   scripts/explore.sh --seed N [--steps M] [--verbose]   replays one seed exactly
#   scripts/explore.sh --seeds K [--first S] [--steps M]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
if [ "$#" -eq 0 ]; then set -- --seeds 200 --first 1 --steps 5000; fi
exec build/default/tools/explore/pocketexplore "$@"
