#!/usr/bin/env bash
# Runs the kill -9 crash-consistency rounds of the real program many times
# (default 1000): scripts/crash-rounds.sh [ROUNDS] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
VNOTE="$PWD/build/Vnote" LC_ALL=C.UTF-8 CRASH_ROUNDS="${1:-1000}" CRASH_SEED="${2:-}" \
  bash tests/e2e/test_crash_rounds.sh
