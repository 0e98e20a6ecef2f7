#!/usr/bin/env bash
# clang-tidy (the checks of .clang-tidy) over every C++ source file of the
# repository, with the compile commands of build/; the fuzz harnesses with
# those of build-fuzz/ once tools/fuzz.sh has configured it. Any finding
# fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh > /dev/null
# clang-tidy counts the warnings it hid in system headers on stderr; only
# its findings are worth reading.
tidy() { xargs -r -P"$(nproc)" -n4 clang-tidy -p "$1" --quiet 2>&1 | sed '/^[0-9]* warnings generated\.$/d'; }
git ls-files '*.cpp' ':!:fuzz/*' | tidy build
if [[ -f build-fuzz/compile_commands.json ]]; then
  git ls-files 'fuzz/*.cpp' | tidy build-fuzz
else
  echo "clang-tidy: fuzz/ skipped (run tools/fuzz.sh first)"
fi
echo "clang-tidy: no finding."
