#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ in build-asan (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer: the tree tools/sanitizers.sh tests) and runs each on a copy of its seed corpus for
# the given seconds (20 by default). The corpus in the repository is never
# grown by a run; a crashing input is kept in build-asan/artifacts/<name>/.
# Exits non-zero when any harness finds a crash, a leak or a hang.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
# FUZZ_SEED fixes libFuzzer's random seed, so that a regression run can be
# repeated; 0 (the default) lets each run pick its own.
seed=${FUZZ_SEED:-0}
build=build-asan

bash tools/setup.sh
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake --preset asan-ubsan > /dev/null
fi
cmake --build "$build" --target fuzzers -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=()
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  mkdir -p "$work/$name" "$build/artifacts/$name"
  cp -r "$seeds". "$work/$name/"
  echo "== fuzz_$name for ${seconds}s"
  # A unit that runs 20 s is a hang: every reader answers within seconds.
  if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -seed="$seed" -timeout=20 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$name/" "$work/$name" \
        >"$work/$name.log" 2>&1; then
    tail -n 60 "$work/$name.log"
    failed+=("$name")
  fi
  grep -E '^stat::number_of_executed_units' "$work/$name.log" || true
done

if ((${#failed[@]})); then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
echo "Fuzzing found no fault."
