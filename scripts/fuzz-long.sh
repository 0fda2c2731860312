#!/usr/bin/env bash
# Runs every fuzz target for a long time, one after another, at the lowest
# CPU priority so that builds and tests on the same machine go on:
#
#   scripts/fuzz-long.sh [SECONDS_PER_TARGET]    (default 1800)
#
# The inputs found are kept in build-fuzz/corpus/ for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
exec nice -n 19 scripts/fuzz.sh "${1:-1800}"
