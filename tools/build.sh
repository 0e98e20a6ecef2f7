#!/usr/bin/env bash
# The part run.sh and test.sh share: installs what is missing (apt-get acts
# only then), configures once and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
# The benchmarks are built too, so that they compile and stay warning-free;
# in CI (CI=true) every warning is an error.
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONOHA_BENCHMARKS=ON -DSONOHA_WERROR="$werror" > /dev/null
elif [ "$werror" = ON ]; then
  cmake -S . -B build -DSONOHA_WERROR=ON > /dev/null
fi
cmake --build build -j"$(nproc)"
