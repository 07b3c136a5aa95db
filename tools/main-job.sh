#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on a fresh home.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
home=$(mktemp -d)
echo "program home: $home"
build/src/cli/kaldo --home "$home" settings
