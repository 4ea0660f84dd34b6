#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only when one is missing,
# so a second run costs nothing.
set -euo pipefail

# xauth: xvfb-run needs it, and xvfb only recommends it.
packages=(
  cmake g++ make libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool xautomation imagemagick x11-utils x11-apps
  fonts-ipafont-gothic sox clang libclang-rt-14-dev zip unzip procps python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
