#!/usr/bin/env bash
# Makes (create) or removes (remove) the throw-away Wine prefix that the probes share: the
# launcher tests' prefix, with Wine's null display driver, so that windows, message boxes and
# menus work without a screen (X11 first, for the probes that compare.sh gives an X server).
# Usage: wine_prefix.sh create|remove PREFIX
here=$(dirname "$0")
# shellcheck source=../launcher/wine/common.sh
source "$here/../launcher/wine/common.sh"
[[ $# -eq 2 ]] || fail "usage: $0 create|remove PREFIX"
bash "$here/../launcher/wine/wine_prefix.sh" "$1" "$2"
if [[ $1 == create ]]; then
  use_prefix "$2"
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d x11,null /f >/dev/null ||
    fail "could not choose the null display driver in $WINEPREFIX"
  wineserver -w
fi
