#!/usr/bin/env bash
# Builds the libFuzzer target of the profile files with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer into build-fuzz/ and runs it for a bounded time.
#   scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
seconds=${1:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DSONMIRA_FUZZ=ON -DSONMIRA_SANITIZE=ON >/dev/null
cmake --build build-fuzz --target sonmira_profile_fuzz
# New inputs go to a scratch folder; the seeds in the tree stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build-fuzz/tests/fuzz/sonmira_profile_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -dict=tests/fuzz/profile.dict -artifact_prefix=build-fuzz/ "$work" tests/fuzz/corpus
