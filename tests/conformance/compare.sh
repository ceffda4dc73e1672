#!/usr/bin/env bash
# Runs a probe twice, on the simulation and as a Windows program under Wine, and compares what
# both print, line by line. Each role is a process of its own; lines are compared role by role,
# in the order each process printed them, ending with its exit code. A line that differs fails
# the test unless known-differences.txt lists it for this probe, with its reason.
# A probe may be installed at a path of drive C (--at), with empty files put there too (--file),
# and with a short WAV file beside it (--wav NAME); it then runs from its own folder, as Explorer
# starts a program. --display plain asks the simulation for a display driver without the power
# escapes (Wine's null driver has none); --display x11 runs Wine with an X server of its own
# (Xvfb), for what Wine has only with a display (the notification area).
# Usage: compare.sh PREFIX PROBE_EXE RUNNER IMAGE_DIR KNOWN_DIFFERENCES [--desktop CODEPAGE]
#        [--at 'C:\PATH'] [--file 'C:\PATH']... [--wav NAME] [--display plain] ROLE...
# shellcheck source=../launcher/wine/common.sh
source "$(dirname "$0")/../launcher/wine/common.sh"
[[ $# -ge 6 ]] || fail "usage: $0 PREFIX PROBE_EXE RUNNER IMAGE_DIR KNOWN_DIFFERENCES [OPTION VALUE]... ROLE..."
prefix=$1 exe=$2 runner=$3 images=$4 known=$5
shift 5
sim_args=()
codepage=
at=
wav=
display=
files=()
while [[ $1 == --* ]]; do
  case $1 in
    --desktop) codepage=$2 ;;
    --at) at=$2 ;;
    --file) files+=("$2") ;;
    --wav) wav=$2 ;;
    --display) display=$2 ;;
    *) fail "unknown option $1" ;;
  esac
  sim_args+=("$1" "$2")
  shift 2
done
roles=("$@")
probe=$(basename "$exe" .exe)

[[ -x $runner ]] || fail "no probe runner at $runner: build the default preset first (scripts/build.sh)"
[[ -f $known ]] || fail "no list of known differences at $known"
use_prefix "$prefix"
[[ -f $WINEPREFIX/system.reg ]] || fail "no Wine prefix at $WINEPREFIX (the prefix_setup test makes it)"
# Wine takes its ANSI code page from the locale.
if [[ $codepage == 932 ]]; then export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$runner" "${sim_args[@]}" "$images" "$probe" "${roles[@]}" >"$work/sim.out"; then
  cat "$work/sim.out"
  fail "the simulation's run of $probe failed"
fi

# host_path 'C:\a\b': where that path of drive C lies in the prefix.
host_path() {
  local rest=${1#[Cc]:}
  rest=${rest//\\//}
  echo "$WINEPREFIX/drive_c$rest"
}
run_folder=$PWD
if [[ -n $at ]]; then
  target=$(host_path "$at")
  mkdir -p "$(dirname "$target")"
  cp "$exe" "$target"
  for file in "${files[@]}"; do
    mkdir -p "$(dirname "$(host_path "$file")")"
    : >"$(host_path "$file")"
  done
  exe=$at
  run_folder=$(dirname "$target")
fi
# 100 ms of silence: 8000 samples a second, 8 bits, one channel (proberun writes the same bytes).
if [[ -n $wav ]]; then
  {
    printf 'RIFF\x44\x03\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00'
    printf '\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00data\x20\x03\x00\x00'
    head -c 800 /dev/zero | tr '\0' '\200'
  } >"$(dirname "${target:-$exe}")/$wav"
fi

# The prefix's display driver is "x11,null": without DISPLAY, the null driver. A Wine session that
# began without a display keeps it, so the session ends before and after a run with one.
if [[ $display == x11 ]]; then
  command -v Xvfb >/dev/null || fail "Xvfb not found (scripts/bootstrap.sh installs it)"
  wineserver -k 2>/dev/null || true
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  [[ -s $work/display ]] || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$work/display")"
  trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
fi

# All roles start at once; the probes wait for each other where the order matters.
pids=()
for role in "${roles[@]}"; do
  (
    status=0
    cd "$run_folder"
    timeout 60 wine "$exe" "$role" >"$work/wine.$role" 2>"$work/wine.$role.err" || status=$?
    echo "$status" >"$work/wine.$role.status"
  ) &
  pids+=($!)
done
# Only the probe's processes are waited for: Wine's own services may stay for the next probe.
wait "${pids[@]}"

# Both outputs, role after role.
sim_lines=()
wine_lines=()
for role in "${roles[@]}"; do
  while IFS= read -r line; do
    if [[ $line == "$role: "* ]]; then sim_lines+=("$line"); fi
  done <"$work/sim.out"
  while IFS= read -r line; do
    wine_lines+=("${line%$'\r'}")
  done <"$work/wine.$role"
  wine_lines+=("$role: exit code $(cat "$work/wine.$role.status")")
  if [[ -s $work/wine.$role.err ]]; then
    echo "--- $role's standard error under Wine:"
    cat "$work/wine.$role.err"
  fi
done
while IFS= read -r line; do
  owned=0
  for role in "${roles[@]}"; do
    if [[ $line == "$role: "* ]]; then owned=1; fi
  done
  if ((!owned)); then sim_lines+=("(no role) $line"); fi
done <"$work/sim.out"

# The known differences of this probe: "probe | simulation's line | Wine's line | reason", each
# line an extended regular expression, or "-" for a line that side does not print.
sim_patterns=()
wine_patterns=()
reasons=()
while IFS= read -r entry; do
  if [[ -z ${entry// /} || $entry == \#* ]]; then continue; fi
  name=${entry%% | *}
  rest=${entry#* | }
  if [[ $name != "${probe#probe_}" ]]; then continue; fi
  sim_patterns+=("${rest%% | *}")
  rest=${rest#* | }
  wine_patterns+=("${rest%% | *}")
  reasons+=("${rest#* | }")
  case ${reasons[-1]} in
    "Wine defect"* | "Windows CE and the desktop differ:"* | "simulation's choice:"*) ;;
    *) fail "$known: a reason must say what the difference is (Wine defect, Windows CE and the desktop differ, simulation's choice): ${reasons[-1]}" ;;
  esac
done <"$known"
used=()

# side_matches PATTERN PRESENT LINE
side_matches() {
  if [[ $1 == - ]]; then [[ $2 == 0 ]]; else [[ $2 == 1 && $3 =~ $1 ]]; fi
}

# The first known difference that describes this pair of lines, or nothing.
known_difference() {
  local j
  for j in "${!reasons[@]}"; do
    if side_matches "${sim_patterns[j]}" "$1" "$2" && side_matches "${wine_patterns[j]}" "$3" "$4"; then
      echo "$j"
      return
    fi
  done
}

failures=0
known_count=0
# judge SIM_PRESENT SIM_LINE WINE_PRESENT WINE_LINE: a pair of lines that differ, or a line only
# one side printed.
judge() {
  local j
  j=$(known_difference "$@")
  if [[ -n $j ]]; then
    used[j]=1
    known_count=$((known_count + 1))
    echo "known difference (${reasons[j]}):"
  else
    failures=$((failures + 1))
    echo "DIFFERENT:"
  fi
  if [[ $1 == 1 ]]; then echo "  simulation: $2"; else echo "  simulation: (no such line)"; fi
  if [[ $3 == 1 ]]; then echo "  wine:       $4"; else echo "  wine:       (no such line)"; fi
}

# Lines are aligned as diff aligns them. Within a run of changes, the simulation's lines and
# Wine's pair up in order; a line left over is one that only one side printed.
printf '%s\n' "${sim_lines[@]}" >"$work/sim.lines"
printf '%s\n' "${wine_lines[@]}" >"$work/wine.lines"
mapfile -t merged < <(diff --old-line-format='<%L' --new-line-format='>%L' --unchanged-line-format='=%L' \
  "$work/sim.lines" "$work/wine.lines" || true)
merged+=("=")
removed=()
added=()
for entry in "${merged[@]}"; do
  case ${entry:0:1} in
    "<") removed+=("${entry:1}") ;;
    ">") added+=("${entry:1}") ;;
    *)
      for ((k = 0; k < ${#removed[@]} || k < ${#added[@]}; k++)); do
        if ((k < ${#removed[@]} && k < ${#added[@]})); then
          judge 1 "${removed[k]}" 1 "${added[k]}"
        elif ((k < ${#removed[@]})); then
          judge 1 "${removed[k]}" 0 ""
        else
          judge 0 "" 1 "${added[k]}"
        fi
      done
      removed=()
      added=()
      ;;
  esac
done
compared=${#sim_lines[@]}
if ((${#wine_lines[@]} > compared)); then compared=${#wine_lines[@]}; fi
for j in "${!reasons[@]}"; do
  if [[ -z ${used[j]-} ]]; then echo "note: a known difference did not occur: ${sim_patterns[j]}"; fi
done

if ((failures)); then
  echo "--- the simulation printed:"
  printf '%s\n' "${sim_lines[@]}"
  echo "--- Wine printed:"
  printf '%s\n' "${wine_lines[@]}"
  fail "$probe: $failures of $compared lines differ"
fi
echo "$probe: $compared lines compared, $known_count known differences"
