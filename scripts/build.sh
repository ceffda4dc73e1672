#!/usr/bin/env bash
# Configures and builds one preset (default: "default"). Used by the other scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/bootstrap.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
