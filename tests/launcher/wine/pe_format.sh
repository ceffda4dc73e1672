#!/usr/bin/env bash
# The launcher's file format: a 32-bit Windows GUI program without resources that needs no DLL
# beyond those every Windows has.
# Usage: pe_format.sh OBJDUMP EXE
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: $0 OBJDUMP EXE" >&2; exit 2; }
objdump=$1
exe=$2

fail() {
  echo "FAIL: $exe: $*" >&2
  exit 1
}

headers=$("$objdump" -p "$exe") || fail "objdump cannot read it"
field() { sed -n "s/^$1[[:space:]]\+//p" <<<"$headers"; }

[[ $(field Magic) == 010b* ]] || fail "not PE32 (32-bit): Magic $(field Magic)"
[[ $(field Subsystem) == 00000002* ]] || fail "not a Windows GUI program: Subsystem $(field Subsystem)"

dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[[ -n $dlls ]] || fail "no imports found"
while read -r dll; do
  case ${dll,,} in
    kernel32.dll | advapi32.dll | user32.dll | msvcrt.dll) ;;
    *) fail "imports from $dll" ;;
  esac
done <<<"$dlls"

resources=$(sed -n 's/^Entry 2 \([0-9a-f]\+\) \([0-9a-f]\+\) Resource Directory.*/\2/p' <<<"$headers")
[[ $resources == 00000000 ]] || fail "has a resource directory (size ${resources:-unknown})"
if "$objdump" -h "$exe" | grep -q '\.rsrc'; then fail "has a .rsrc section"; fi

echo "$exe: PE32, Windows GUI, imports from ${dlls//$'\n'/, }, no resources, $(stat -c %s "$exe") bytes"
