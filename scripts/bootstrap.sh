#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build make                # the build (Ninja; the fuzz target's own project, Make)
  g++ g++-multilib cpp                  # 32-bit x86 build of the simulation, the target's data model
  lib32asan8 lib32ubsan1                # the same build under AddressSanitizer and UndefinedBehaviorSanitizer
  clang libclang-rt-14-dev              # libFuzzer (32-bit runtime) for the launcher's fuzz target
  googletest                            # GoogleTest and GoogleMock sources, built with the same flags
  binutils-mingw-w64-i686               # windres: compiles the programs' resource scripts
  g++-mingw-w64-i686                    # the desktop launcher as a real 32-bit Windows executable
  wine wine32:i386                      # runs that executable in the tests
  xvfb                                  # an X server for the probe of Wine's notification area
  locales                               # ja_JP.UTF-8, under which Wine uses code page 932
  pkg-config libcairo2-dev libpango1.0-dev  # pocketscreen's pictures of the simulated screen
  fonts-ipafont-gothic                  # Japanese text in those pictures
  libcpp-httplib-dev                    # pocketscreen's server for the live device
  chromium chromium-driver python3-selenium  # the browser test of the live device
)

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

# wine32 comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  # A mirror caught mid-sync fails one index now and then: try again, and go on with what came.
  for attempt in 1 2 3; do
    if $sudo apt-get update; then break; fi
    echo "apt-get update failed (attempt $attempt)" >&2
    sleep $((attempt * 5))
  done
  # With one architecture's index missing (the i386 security index, say), amd64 and i386 copies
  # of a library can be offered at different versions, which multiarch refuses: then take the
  # release's own versions for both.
  if ! $sudo apt-get install -y --no-install-recommends "${missing[@]}"; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "Installing again with the versions of $codename itself" >&2
    $sudo apt-get install -y --no-install-recommends -t "$codename" "${missing[@]}"
  fi
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "Generating the ja_JP.UTF-8 locale"
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
