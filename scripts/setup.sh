#!/usr/bin/env bash
# Installs everything FRUSTA 2 needs to build, run and test on Debian 12. Run as root.
# Idempotent: packages already present are left alone.
set -euo pipefail

# Real package names only: dpkg-query never reports a virtual or transitional name as
# installed, and one such name would make every run install again (and fail offline).
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  fonts-liberation ruby-asciidoctor-pdf xvfb xdotool imagemagick poppler-utils
  libxlsxwriter-dev nettle-dev nlohmann-json3-dev libzip-dev libexpat1-dev mdbtools-dev mdbtools libsqlite3-dev sqlite3
  python3 python3-xlrd python3-openpyxl python3-xlwt python3-xlsxwriter
  libreoffice-calc-nogui time
  dpkg-dev lintian appstream desktop-file-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing; run this script as root: ${missing[*]}" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
