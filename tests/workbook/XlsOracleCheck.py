"""Checks an .xls file written by the program against the cells it was meant to hold, with
xlrd and with LibreOffice (conversion of every sheet to CSV).

Usage: XlsOracleCheck.py BOOK.xls EXPECTED.tsv
EXPECTED.tsv has one line per cell: sheet, row, col, type (number, text, boolean, error,
blank), value (numbers with 17 digits, texts with \\ \t \n \r escaped) and the built-in number
format id. Exit status 0 when both agree, 1 with the differences, 77 when an oracle is missing.
"""
import csv
import datetime
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
try:
    import xlrd
    import XlsOracle
except ImportError:
    sys.exit(77)


def expected_cells(path):
    cells = {}
    with open(path, encoding="utf-8", newline="\n") as f:
        for line in f.read().split("\n")[:-1]:
            sheet, row, col, kind, value, fmt = line.split("\t")
            if kind == "number":
                value = float(value)
            elif kind == "text":
                value = XlsOracle.unescape(value)
            cells.setdefault(sheet, {})[(int(row), int(col))] = (kind, value, int(fmt))
    return cells


def check_xlrd(path, want, problems):
    book = XlsOracle.xlrd_book(path)
    names = [s.name for s in book.sheets()]
    if names != list(want):
        problems.append("xlrd sheets %r, expected %r" % (names, list(want)))
        return
    for index, sheet in enumerate(book.sheets()):
        got = XlsOracle.xlrd_cells(book, index)
        cells = want[sheet.name]
        plain = {k: (v[0], v[1]) for k, v in cells.items()}
        problems += ["xlrd " + d for d in XlsOracle.diff(got, plain)]
        for (r, c), (_kind, _value, fmt) in cells.items():
            xf = book.xf_list[sheet.cell_xf_index(r, c)]
            is_date = sheet.cell_type(r, c) == xlrd.XL_CELL_DATE
            if (fmt == 14) != is_date or (fmt == 2) != (book.format_map[xf.format_key].format_str == "0.00"):
                problems.append("xlrd format of %s!%d,%d: key %d" % (sheet.name, r, c, xf.format_key))


def lo_matches(kind, value, fmt, field):
    if kind == "text":
        return field == value
    if kind == "blank":
        return field == ""
    if kind == "error":
        return field == value
    if kind == "boolean":
        return field in ("1" if value == "TRUE" else "0", value)
    if fmt == 14:
        day = datetime.date(1899, 12, 30) + datetime.timedelta(days=int(value))
        return field == day.strftime("%m/%d/%Y")
    try:
        got = float(field)
    except ValueError:
        return False
    return got == value or abs(got - value) <= 1e-14 * abs(value)


def check_libreoffice(path, want, problems):
    soffice = shutil.which("soffice")
    if not soffice:
        sys.exit(77)
    with tempfile.TemporaryDirectory() as tmp:
        filt = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"
        subprocess.run([soffice, "--headless", "-env:UserInstallation=file://" + tmp + "/profile",
                        "--convert-to", filt, "--outdir", tmp, path],
                       check=True, capture_output=True, timeout=600)
        stem = os.path.splitext(os.path.basename(path))[0]
        for sheet, cells in want.items():
            csv_path = os.path.join(tmp, "%s-%s.csv" % (stem, sheet))
            if not os.path.exists(csv_path):
                problems.append("LibreOffice wrote no CSV for sheet %r" % sheet)
                continue
            with open(csv_path, encoding="utf-8", newline="") as f:
                rows = list(csv.reader(f))
            seen = set()
            for r, row in enumerate(rows):
                for c, field in enumerate(row):
                    if (r, c) in cells:
                        seen.add((r, c))
                        kind, value, fmt = cells[(r, c)]
                        if not lo_matches(kind, value, fmt, field):
                            problems.append("LibreOffice %s!%d,%d: %r, expected %r" % (sheet, r, c, field[:40], value))
                    elif field != "":
                        problems.append("LibreOffice %s!%d,%d: unexpected %r" % (sheet, r, c, field[:40]))
            for key in set(cells) - seen:
                kind, value, _ = cells[key]
                if kind not in ("blank",) and value != "":
                    problems.append("LibreOffice %s!%d,%d: missing %r" % (sheet, key[0], key[1], value))


def main():
    path, expected = sys.argv[1], sys.argv[2]
    want = expected_cells(expected)
    problems = []
    check_xlrd(path, want, problems)
    check_libreoffice(path, want, problems)
    for p in problems[:30]:
        print(p)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
