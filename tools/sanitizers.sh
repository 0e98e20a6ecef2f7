#!/usr/bin/env bash
# The test suite under AddressSanitizer and UndefinedBehaviorSanitizer (clang;
# the same tree builds the fuzz harnesses, see tools/fuzz.sh), then
# the read-ahead's stress test under ThreadSanitizer. Build folders:
# build-asan/ and build-tsan/ (CMakePresets.json).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
# Leak checking is off: Qt, fontconfig and the SDL audio driver keep
# process-lifetime allocations that LeakSanitizer reports as leaks at exit.
# Out-of-bounds access, use after free and double free still fail the run.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The build runs some of its own tools (the application folder is laid out
# by one), so the options hold for the build too.
cmake --preset asan-ubsan > /dev/null
cmake --build --preset asan-ubsan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

# Qt is not built with ThreadSanitizer, so the order it makes between
# threads is not seen; tools/tsan.supp suppresses the reports that come
# from that alone.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tools/tsan.supp"
cmake --preset tsan > /dev/null
cmake --build --preset tsan -j"$(nproc)" --target ThumbnailPrefetchStressTest
build-tsan/tests/ThumbnailPrefetchStressTest
