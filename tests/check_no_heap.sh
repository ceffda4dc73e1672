#!/usr/bin/env bash
# Fails when a program image takes anything from the heap: program code uses fixed buffers only.
set -euo pipefail
image="$1"
heap=$(nm -u --demangle "$image" | grep -E '\b(malloc|calloc|realloc|free|strdup|wcsdup|_wcsdup|LocalAlloc|HeapAlloc|operator new|operator delete)\b' || true)
if [[ -n "$heap" ]]; then
  echo "$image uses the heap:"
  echo "$heap"
  exit 1
fi
echo "$image: no heap"
