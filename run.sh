#!/usr/bin/env bash
# Sets up what is missing, builds, lays out build/app/ and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)"
exec build/app/sonoha "$@"
