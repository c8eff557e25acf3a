#!/usr/bin/env bash
# Builds the Debian package frusta2_<version>_amd64.deb in build/ from the normal build and
# checks it with lintian. Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
dir=build
scripts/build.sh
rm -f "$dir"/frusta2_*_amd64.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb="$(ls "$dir"/frusta2_*_amd64.deb)"
echo "package: $deb"
# Errors fail the build; warnings are listed.
lintian --fail-on error --suppress-tags no-manual-page "$deb" || { echo "lintian found errors" >&2; exit 1; }
