#!/usr/bin/env bash
# Makes (create) or removes (remove) the throw-away Wine prefix that the launcher's cases share.
# Usage: wine_prefix.sh create|remove PREFIX
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
[[ $# -eq 2 ]] || fail "usage: $0 create|remove PREFIX"
use_prefix "$2"

remove() {
  if [[ -e $WINEPREFIX ]]; then
    wineserver -k 2>/dev/null || true  # none may be running
    rm -rf "$WINEPREFIX"
  fi
}

case $1 in
  create)
    remove
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i || fail "wineboot -i failed for $WINEPREFIX"
    # The cases start from a prefix at rest.
    wineserver -w
    [[ -f $WINEPREFIX/system.reg && -d $WINEPREFIX/drive_c/windows ]] || fail "wineboot made no usable prefix in $WINEPREFIX"
    echo "Wine prefix ready: $WINEPREFIX ($(wine --version))"
    ;;
  remove)
    remove
    ;;
  *) fail "usage: $0 create|remove PREFIX" ;;
esac
