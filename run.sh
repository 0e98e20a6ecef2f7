#!/usr/bin/env bash
# Sets up what is missing, builds, lays out build/app/ and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/build.sh
exec build/app/sonoha "$@"
