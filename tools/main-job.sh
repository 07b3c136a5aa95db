#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on a fresh home.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
# brevik --demo: a fresh home whose COM1 is the virtual logger. Without a
# display it runs under xvfb-run, reads a status and downloads the logger by
# itself, and saves screenshots of the main and status windows, the graph
# (one to four viewports, monochrome with symbols, zoomed), its dialogs, the
# real-time graph, the setup window (full and labels-only), the station
# address window, every setup dialog, the phone book and modem lists, and
# the remote modem and com test windows.
shots=build/demo-screenshots
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  build/src/ui/brevik --demo
else
  BREVIK_DEMO_SCREENSHOTS="$PWD/$shots" xvfb-run -a build/src/ui/brevik --demo
  echo "screenshots in $shots:"
  ls "$shots"
fi
