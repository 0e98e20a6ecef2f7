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
# Ninja and ccache where they are installed (tools/setup.sh installs both):
# a rebuild of an unchanged file is a cache hit, in this checkout or another.
generator=()
if command -v ninja > /dev/null; then generator=(-G Ninja); fi
launcher=()
if command -v ccache > /dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Paths below the checkout are hashed relative to it, so two checkouts share
# their cache entries.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONOHA_BENCHMARKS=ON \
    -DSONOHA_WERROR="$werror" > /dev/null
elif [ "$werror" = ON ]; then
  cmake -S . -B build -DSONOHA_WERROR=ON > /dev/null
fi
cmake --build build -j"$(nproc)"
