#!/usr/bin/env bash
# clang-tidy (the checks of .clang-tidy) over every C++ source file of the
# repository, with the compile commands of build/; the fuzz harnesses with
# those of build-asan/ once tools/fuzz.sh has configured it. Any finding
# fails the run. tools/tidy.py remembers each file that passed by all it
# read (the file, its headers, its compile command, the checks, clang-tidy's
# version), so an unchanged file is not checked again; with no record every
# file is checked.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh > /dev/null
python3 tools/tidy.py build ':!:fuzz/*' '*.cpp'
if [[ -f build-asan/compile_commands.json ]]; then
  python3 tools/tidy.py build-asan 'fuzz/*.cpp'
else
  echo "clang-tidy: fuzz/ skipped (run tools/fuzz.sh first)"
fi
