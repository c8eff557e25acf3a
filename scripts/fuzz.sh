#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/fuzz_*.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, and runs each for a bounded time over its seed
# corpus (fuzz/corpus/<name>/, e.g. fuzz/corpus/xlsx/ for fuzz_xlsx). New inputs go to
# build-fuzz/corpus/<name>/, crashes to build-fuzz/artifacts/.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 60). Exits non-zero on a crash.
# A short run for CI: scripts/fuzz.sh 10. FRUSTA_FUZZ_DIR=DIR builds in DIR instead.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "Usage: scripts/fuzz.sh [seconds-per-target]" >&2
  exit 2
fi
dir=${FRUSTA_FUZZ_DIR:-build-fuzz}

targets=()
for src in fuzz/fuzz_*.cpp; do
  [ -e "$src" ] || continue
  targets+=("$(basename "$src" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no fuzz/fuzz_*.cpp targets" >&2
  exit 2
fi

# The library is instrumented for coverage too (fuzzer-no-link), not only the targets.
CC=clang CXX=clang++ CFLAGS="-fsanitize=fuzzer-no-link" CXXFLAGS="-fsanitize=fuzzer-no-link" \
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRUSTA_BUILD_FUZZ=ON \
  -DFRUSTA_SANITIZE=ON -DFRUSTA_BUILD_TESTS=OFF -DFRUSTA_BUILD_GUI=OFF >/dev/null
cmake --build "$dir" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/artifacts"
failed=()
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  seeds=fuzz/corpus/$name
  work=$dir/corpus/$name
  mkdir -p "$work"
  args=("$work")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "fuzz: running $target for ${seconds}s"
  if ! "$dir/bin/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" \
      "${args[@]}"; then
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: FAILED: ${failed[*]} (inputs in $dir/artifacts/)" >&2
  exit 1
fi
echo "fuzz: all targets ran clean"
