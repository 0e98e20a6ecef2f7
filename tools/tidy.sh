#!/usr/bin/env bash
# clang-tidy (the checks of .clang-tidy) over every C++ source file of the
# repository, with the compile commands of build/. Any finding fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh > /dev/null
mapfile -t files < <(git ls-files '*.cpp' ':!:fuzz/*')
printf '%s\n' "${files[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p build --quiet
echo "clang-tidy: ${#files[@]} files, no finding."
