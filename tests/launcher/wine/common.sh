# shellcheck shell=bash
# Sourced by the Wine test scripts. Every wine call runs in the run's own throw-away prefix (32-bit),
# without a display, and without the add-on installers' dialogs or menu entries in $HOME.
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# use_prefix DIR
use_prefix() {
  [[ $1 == /*/wineprefix ]] || fail "refusing '$1' as the throw-away Wine prefix: want an absolute path ending in /wineprefix"
  local tool
  for tool in wine wineserver wineboot iconv; do
    command -v "$tool" >/dev/null || fail "$tool not found (scripts/bootstrap.sh installs it)"
  done
  export WINEPREFIX=$1 WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
  # Nothing here may need a screen; without one, whatever tried to show a window fails visibly.
  unset DISPLAY WAYLAND_DISPLAY
  # Code page 1252 unless a case asks for another; LC_ALL beats a developer's own settings.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  # A home of the run's own, whose ALSA configuration gives Wine a sound device that plays into
  # nothing: machines that run the tests seldom have a sound card.
  export HOME=${WINEPREFIX%/wineprefix}/home
  mkdir -p "$HOME"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
}
