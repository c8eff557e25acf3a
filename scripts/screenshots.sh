#!/usr/bin/env bash
# Writes a picture of every window and dialog of the desktop program into a folder.
# Usage: scripts/screenshots.sh [FOLDER]   (default: build/screenshots)
# FRUSTA_BUILD_DIR names another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${FRUSTA_BUILD_DIR:-build}"
out="${1:-$build/screenshots}"
cmake --build "$build" --target frusta2-tour >/dev/null
# A settings folder of its own, so that the tour neither reads nor changes the user's.
export XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bin/frusta2-tour" "$out"
