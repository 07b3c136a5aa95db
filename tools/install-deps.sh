#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds and tests with. Safe to
# run again: it installs only what is missing. --bench adds what the speed
# comparisons need besides (matplotlib for tools/graph-speed.sh).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6serialport6 qt6-base-dev-tools qt6-svg-dev
  libqcustomplot-dev libqcustomplot2.1-qt6
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xauth fonts-dejavu-core socat python3
  help2man dpkg-dev desktop-file-utils
)
# The fuzz targets and their sanitizers (tools/fuzz-campaign.sh): clang 16
# with libFuzzer; Debian 12's default clang 14 cannot build them.
packages+=(clang-16 libclang-rt-16-dev llvm-16)
if [ "${1:-}" = "--bench" ]; then
  packages+=(python3-matplotlib)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
