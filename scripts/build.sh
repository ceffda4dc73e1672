#!/usr/bin/env bash
# Configures and builds one preset (default: "default"). Used by the other scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/bootstrap.sh
# A build folder made by another generator (Make, before the presets chose Ninja) is made anew.
cache="build/$preset/CMakeCache.txt"
if [[ -f $cache ]] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then rm -rf "build/$preset"; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
