#!/usr/bin/env bash
# The part run.sh and test.sh share: installs what is missing (apt-get acts
# only then), configures once and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
fi
cmake --build build -j"$(nproc)"
