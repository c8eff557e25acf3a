#!/usr/bin/env bash
# Sets up, builds and runs the main job: the assessment of the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
build/bin/frusta2-cli --help
