#!/usr/bin/env bash
# Makes the Debian package (brevik_VERSION_ARCH.deb) from a configured and
# built tree and shows its control data. usage: tools/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-${BREVIK_BUILD_DIR:-build}}
out="$build/package"
rm -f "$out"/brevik_*.deb
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/brevik_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends
echo "$deb"
