#!/usr/bin/env bash
# Builds tavrin.exe for Windows (build/win) and packs the release archive
# build/package/tavrin-<version>-win64.zip with CPack (cmake/package.cmake): one folder with
# tavrin.exe, click1.wav to click3.wav, README.md and LICENSE, and a .sha256 beside it. The
# version is the one set in project() of CMakeLists.txt, read back from CPack's configuration.
# Prints the archive's path last.
#
# Usage: scripts/package.sh
set -euo pipefail
source "$(dirname "$0")/common.sh"

PACKAGE_DIR=$TAVRIN_ROOT/build/package

bash "$TAVRIN_ROOT/scripts/install-deps.sh"
echo "== Building tavrin.exe"
bash "$TAVRIN_ROOT/scripts/build.sh" app >/dev/null

echo "== Packing"
config=$WIN_BUILD/CPackConfig.cmake
version=$(sed -nE 's/^set\(CPACK_PACKAGE_VERSION "([^"]+)"\)$/\1/p' "$config")
[ -n "$version" ] || { echo "no CPACK_PACKAGE_VERSION in $config" >&2; exit 1; }
archive=$PACKAGE_DIR/tavrin-$version-win64.zip
rm -f "$archive" "$archive.sha256"
cpack --config "$config" -B "$PACKAGE_DIR" >/dev/null
# CPack stages the files beside the archive; the staging is not part of the release.
rm -rf "$PACKAGE_DIR/_CPack_Packages"
[ -f "$archive" ] || { echo "CPack did not make $archive" >&2; exit 1; }
unzip -l "$archive"
echo "$archive"
