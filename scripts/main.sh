#!/usr/bin/env bash
# Sets up, builds and runs the main job: the assessment of the bundled example with the
# bundled reference database. The results workbook goes to results/FRUSTA2TestResults.xlsx.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
mkdir -p results
build/bin/frusta2-cli assess build/bin/TestData/FRUSTA2TestData.xls \
  -o results/FRUSTA2TestResults.xlsx
echo
echo "Results saved to results/FRUSTA2TestResults.xlsx"
