#!/usr/bin/env bash
# Builds everything and runs every test: the simulation build; the desktop launcher as a real
# Windows program under Wine (the mingw preset); the whole simulation suite again under ASan and
# UBSan (the sanitize preset); and a short deterministic run of the launcher's fuzz target.
# `scripts/test.sh PRESET` runs one preset only (default, mingw, sanitize), `scripts/test.sh fuzz`
# the short fuzz run only.
set -euo pipefail
cd "$(dirname "$0")/.."
if (($#)); then steps=("$1"); else steps=(default mingw sanitize fuzz); fi

run_step() {
  local step=$1 start=$SECONDS status=0
  echo "== $step"
  if [[ $step == fuzz ]]; then
    scripts/fuzz.sh --brief || status=1
  else
    (scripts/build.sh "$step" && ctest --preset "$step" -j "$(nproc)") || status=1
  fi
  echo "== $step: $((SECONDS - start)) s"
  return $status
}

# Every step runs even when one fails; the result says whether all passed. The Windows step
# spends most of its time waiting on Wine, so it runs beside the sanitizer build, its output
# shown when it is done.
scripts/bootstrap.sh
failed=()
background=
if [[ " ${steps[*]} " == *" mingw "* && " ${steps[*]} " == *" sanitize "* ]]; then
  background=$(mktemp)
  trap 'rm -f "$background" "$background.status"' EXIT
fi
for step in "${steps[@]}"; do
  if [[ -n $background && $step == mingw ]]; then
    (run_step mingw >"$background" 2>&1; echo $? >"$background.status") &
    continue
  fi
  run_step "$step" || failed+=("$step")
  if [[ -n $background && $step == sanitize ]]; then
    wait
    cat "$background"
    [[ $(cat "$background.status") == 0 ]] || failed+=(mingw)
  fi
done
if ((${#failed[@]})); then
  echo "FAILED: ${failed[*]}" >&2
  exit 1
fi
