#!/usr/bin/env bash
# Builds (as scripts/build.sh does) and runs the benchmarks.
#   scripts/bench.sh [sonmira-unit-sim options]   e.g. --delay 5
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
build/bench/bench_link "$@"
build/bench/settings_transfer_bench "$@"
build/bench/profile_bench
bash bench/idle.sh
