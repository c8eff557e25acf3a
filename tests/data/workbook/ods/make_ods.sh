#!/bin/sh
# Makes the OpenDocument files of this folder with LibreOffice itself: every workbook of the
# workbook tests (../corpus, ../xls, ../xlsx) and features.xlsx (written by make_features.py)
# saved as NAME.EXT.ods, and as NAME.EXT.fods too. A workbook that LibreOffice cannot convert
# has no file here. The corpus test reads each and compares it with the workbook it came from.
# Usage: tests/data/workbook/ods/make_ods.sh   (needs soffice, python3-xlsxwriter)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$here/make_features.py" "$here/features.xlsx"
rm -f "$here"/*.ods "$here"/*.fods
for source in "$here"/../corpus/*.xls* "$here"/../xls/*.xls "$here"/../xlsx/*.xlsx \
    "$here/features.xlsx"; do
  name=$(basename "$source")
  stem=${name%.*}
  for format in ods fods; do
    rm -rf "$work/out"
    if timeout 120 soffice "-env:UserInstallation=file://$work/profile" --headless \
        --convert-to "$format" --outdir "$work/out" "$source" >/dev/null 2>&1 &&
        [ -s "$work/out/$stem.$format" ]; then
      mv "$work/out/$stem.$format" "$here/$name.$format"
    else
      echo "make_ods: LibreOffice did not convert $name to .$format" >&2
    fi
  done
done
