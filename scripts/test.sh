#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: unit and window tests on
# the offscreen platform, and end-to-end tests of the real program under a
# virtual X display that the tests start themselves. Before them, each fuzz
# target runs for a few seconds (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh
scripts/fuzz.sh "${VN_FUZZ_SECONDS:-12}"
ctest --test-dir build --output-on-failure -j2 --timeout 300
