#!/usr/bin/env bash
# Soak benchmark (not a test): the battery monitor over a whole tick-count period, 2^32 ms of
# simulated time, with the counter and the notification checked at every sample; prints wall time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
exec build/default/tools/explore/pocketexplore --soak
