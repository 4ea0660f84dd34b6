#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and generates the two locales
# the tests run Wine in, only when something is missing, so a second run costs nothing.
set -euo pipefail

# xauth: xvfb-run needs it, and xvfb only recommends it.
packages=(
  cmake g++ make libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool xautomation imagemagick x11-utils x11-apps
  fonts-ipafont-gothic sox clang libclang-rt-14-dev zip unzip procps python3 locales
)
# Wine takes its user interface language from LANG only when the C library knows the locale:
# the tests read the menus in Japanese and in English.
locales=(ja_JP.UTF-8 en_US.UTF-8)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# `locale -a` spells ja_JP.UTF-8 as ja_JP.utf8.
missing_locales=()
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qix "${l%.UTF-8}.utf8" || missing_locales+=("$l")
done

[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "Generating locales: ${missing_locales[*]}"
  for l in "${missing_locales[@]}"; do
    grep -qx "$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
