#!/usr/bin/env bash
# Configures and builds FRUSTA 2. Usage: scripts/build.sh [--sanitize] [--no-gui]
# The normal build goes to build/, the sanitizer build to build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRUSTA_BUILD_GUI=ON)
for a in "$@"; do
  case "$a" in
    --sanitize) dir=build-asan; args+=(-DFRUSTA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
    --no-gui) args+=(-DFRUSTA_BUILD_GUI=OFF) ;;
    *) echo "build: unknown option $a" >&2; exit 2 ;;
  esac
done

cmake -S . -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
