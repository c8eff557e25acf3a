#!/usr/bin/python3
"""Writes the example dataset in the other formats that FRUSTA 2 opens, as other programs
write them, so that the tests can open each and compare it with the .xls:

  FRUSTA2TestData.ods, .fods    LibreOffice's conversions
  csv/NAME.csv                  one file per worksheet as a Python script writes it (comma,
                                ISO 8601 dates, CR LF)
  semicolon/NAME.csv            as Excel writes "CSV UTF-8" in a decimal-comma locale (byte-
                                order mark, semicolon, decimal comma)
  tsv/NAME.tsv                  tab-separated, LF
  libreoffice/FRUSTA2TestData-NAME.csv   LibreOffice's own CSV, dates as 01/30/2009

Usage: convert_example.py EXAMPLE.xls OUTDIR
"""
import csv
import datetime
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd


def cell_values(sheet, r):
    """The row's values: numbers in their shortest form, dates as ISO 8601 dates."""
    row = []
    for c in range(sheet.ncols):
        kind, value = sheet.cell_type(r, c), sheet.cell_value(r, c)
        if kind == xlrd.XL_CELL_DATE:
            row.append((datetime.date(1899, 12, 30) + datetime.timedelta(days=value)).isoformat())
        elif kind == xlrd.XL_CELL_NUMBER:
            row.append(str(int(value)) if value == int(value) else repr(value))
        elif kind == xlrd.XL_CELL_TEXT:
            row.append(value)
        else:
            row.append("")
    return row


def write_tables(book, folder, extension, delimiter, decimal_comma=False, bom=False,
                 line_end="\r\n"):
    os.makedirs(folder, exist_ok=True)
    for sheet in book.sheets():
        path = os.path.join(folder, sheet.name + extension)
        with open(path, "w", newline="", encoding="utf-8-sig" if bom else "utf-8") as f:
            out = csv.writer(f, delimiter=delimiter, lineterminator=line_end)
            for r in range(sheet.nrows):
                row = cell_values(sheet, r)
                if decimal_comma:
                    row = [v.replace(".", ",") if v[:1].isdigit() and "-" not in v else v
                           for v in row]
                out.writerow(row)


def soffice(args, profile):
    subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless"] + args,
                   check=True, capture_output=True, timeout=600)


def main():
    example, outdir = sys.argv[1], sys.argv[2]
    os.makedirs(outdir, exist_ok=True)
    book = xlrd.open_workbook(example)
    write_tables(book, os.path.join(outdir, "csv"), ".csv", ",")
    write_tables(book, os.path.join(outdir, "semicolon"), ".csv", ";", decimal_comma=True,
                 bom=True)
    write_tables(book, os.path.join(outdir, "tsv"), ".tsv", "\t", line_end="\n")
    with tempfile.TemporaryDirectory() as work:
        profile = os.path.join(work, "profile")
        for fmt in ("ods", "fods"):
            soffice(["--convert-to", fmt, "--outdir", outdir, example], profile)
        # Every sheet a file, UTF-8, numbers unformatted, dates as the cells show them.
        soffice(["--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,"
                 "false,false,false,-1", "--outdir", os.path.join(outdir, "libreoffice"),
                 example], profile)
    with open(os.path.join(outdir, "converted.stamp"), "w") as f:
        f.write("done\n")


if __name__ == "__main__":
    main()
