#!/usr/bin/env bash
# Which platform functions the programs import, and what holds each to real Win32. The imports are
# read from the built images (their undefined symbols that the simulated platform defines); each
# must be listed in coverage.txt, either with the probes that call it (whose images must import
# it too) or, where the desktop lacks it, with the reason and the documentation the simulation
# follows. Prints the table and its totals; the README must show the same totals.
# Usage: coverage.sh PLATFORM_LIBRARY PROGRAM_IMAGE_DIR PROBE_IMAGE_DIR COVERAGE_LIST README
set -euo pipefail
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
[[ $# -eq 5 ]] || fail "usage: $0 PLATFORM_LIBRARY PROGRAM_IMAGE_DIR PROBE_IMAGE_DIR COVERAGE_LIST README"
platform=$1 programs=$2 probes=$3 list=$4 readme=$5

# symbols nm-options FILE: names without their C++ parameter lists, one a line, sorted.
symbols() {
  nm -D "$1" "$2" | awk '{print $NF}' | c++filt | sed 's/(.*//' | sort -u
}
provided=$(symbols --defined-only "$platform")
# imports IMAGE: the platform functions an image calls.
imports() {
  comm -12 <(symbols --undefined-only "$1") <(echo "$provided")
}

declare -A used_by probed_by
for image in "$programs"/*.image "$programs"/desktop/*.image; do
  name=$(basename "$image" .image)
  for f in $(imports "$image"); do used_by[$f]+="${used_by[$f]:+, }$name"; done
done
for image in "$probes"/*.image "$probes"/desktop/*.image; do
  name=$(basename "$image" .image)
  name=${name#probe_}
  for f in $(imports "$image"); do probed_by[$f]+=" $name "; done
done
((${#used_by[@]})) || fail "no program images in $programs"

declare -A listed_probes listed_note
while IFS= read -r line; do
  [[ -z ${line// /} || $line == \#* ]] && continue
  IFS='|' read -r function probes note <<<"$line"
  function=${function// /}
  probes=${probes// /}
  note=${note#"${note%%[![:space:]]*}"}
  [[ -z ${listed_probes[$function]+x} ]] || fail "$function is listed twice in $list"
  [[ $probes != - || -n $note ]] || fail "$function: no probe and no reason"
  listed_probes[$function]=$probes
  listed_note[$function]=$note
done <"$list"

problems=()
probed=0 unprobed=0
printf '%-24s %-32s %s\n' function "imported by" "held by"
for f in $(printf '%s\n' "${!used_by[@]}" | sort); do
  if [[ -z ${listed_probes[$f]+x} ]]; then
    problems+=("$f (imported by ${used_by[$f]}) is neither probed nor on the list of what the desktop lacks")
    continue
  fi
  if [[ ${listed_probes[$f]} == - ]]; then
    unprobed=$((unprobed + 1))
    held="nothing but the documentation: ${listed_note[$f]}"
  else
    probed=$((probed + 1))
    IFS=',' read -ra names <<<"${listed_probes[$f]}"
    for probe in "${names[@]}"; do
      [[ ${probed_by[$f]-} == *" $probe "* ]] || problems+=("$f: the probe '$probe' does not call it")
    done
    held="probe ${listed_probes[$f]//,/, }${listed_note[$f]:+; ${listed_note[$f]}}"
  fi
  printf '%-24s %-32s %s\n' "$f" "${used_by[$f]}" "$held"
done
for f in "${!listed_probes[@]}"; do
  [[ -n ${used_by[$f]+x} ]] || problems+=("$f is listed in $list, but no program imports it")
done

total=$((probed + unprobed))
totals="Platform functions the programs import: $total; held to Wine by a probe: $probed; held to nothing but the documentation (the desktop lacks them): $unprobed."
echo
echo "$totals"
grep -qF "$totals" "$readme" || problems+=("the README does not say: $totals")
if ((${#problems[@]})); then
  printf 'FAIL: %s\n' "${problems[@]}" >&2
  exit 1
fi
