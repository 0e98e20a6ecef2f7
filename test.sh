#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test without a display.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/build.sh
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
ctest --test-dir build --output-on-failure -j"$(nproc)"
