#!/usr/bin/env bash
# Sets up, builds and runs every test. Usage: scripts/test.sh [--sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh "$@"
dir=build
for a in "$@"; do [ "$a" = --sanitize ] && dir=build-asan; done
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"

# Each workbook reader's fuzz target runs briefly under the sanitizers
# (scripts/fuzz.sh SECONDS runs them longer).
scripts/fuzz.sh "${FRUSTA_FUZZ_SECONDS:-10}"
