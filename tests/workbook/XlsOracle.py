"""Helpers for the .xls tests: run frusta2-cli and read the same files with xlrd."""
import os
import subprocess

import xlrd

PROGRAM_DIR = os.environ.get("FRUSTA_PROGRAM_DIR", "")
TEST_DATA_DIR = os.environ.get("FRUSTA_TEST_DATA_DIR", "")
CLI = os.path.join(PROGRAM_DIR, "frusta2-cli")

XLRD_ERRORS = {0x00: "#NULL!", 0x07: "#DIV/0!", 0x0F: "#VALUE!", 0x17: "#REF!",
               0x1D: "#NAME?", 0x24: "#NUM!", 0x2A: "#N/A"}


def run_cli(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=120)


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def our_sheets(path):
    """Sheet names, or None and the error text when the program refuses the file."""
    res = run_cli("sheets", path)
    if res.returncode != 0:
        return None, res.stderr.strip()
    return res.stdout.split("\n")[:-1], ""


def our_cells(path, sheet):
    """{(row, col): (type, value)} as frusta2-cli dump prints them."""
    res = run_cli("dump", path, "--sheet", sheet)
    assert res.returncode == 0, res.stderr
    cells = {}
    for line in res.stdout.split("\n")[:-1]:
        row, col, kind, value = line.split("\t", 3)
        if kind == "number":
            value = float(value)
        elif kind == "text":
            value = unescape(value)
        cells[(int(row), int(col))] = (kind, value)
    return cells


def xlrd_book(path):
    return xlrd.open_workbook(path, formatting_info=True)


def xlrd_cells(book, index):
    """The cells of sheet `index` in the words of our dump. xlrd gives 1904-system day
    numbers for dates; the program gives 1900-system ones."""
    sheet = book.sheet_by_index(index)
    shift = 1462.0 if book.datemode == 1 else 0.0
    cells = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            t, v = sheet.cell_type(r, c), sheet.cell_value(r, c)
            if t == xlrd.XL_CELL_EMPTY:
                continue
            if t == xlrd.XL_CELL_TEXT:
                cells[(r, c)] = ("text", v)
            elif t == xlrd.XL_CELL_NUMBER:
                cells[(r, c)] = ("number", float(v))
            elif t == xlrd.XL_CELL_DATE:
                cells[(r, c)] = ("number", float(v) + shift)
            elif t == xlrd.XL_CELL_BOOLEAN:
                cells[(r, c)] = ("boolean", "TRUE" if v else "FALSE")
            elif t == xlrd.XL_CELL_ERROR:
                cells[(r, c)] = ("error", XLRD_ERRORS.get(v, "#N/A"))
            elif t == xlrd.XL_CELL_BLANK:
                cells[(r, c)] = ("blank", "")
    return cells


def diff(ours, theirs, limit=10):
    """Differences between two cell maps, as printable lines."""
    lines = []
    for key in sorted(set(ours) | set(theirs)):
        if ours.get(key) != theirs.get(key):
            lines.append("%s: ours %r, xlrd %r" % (key, ours.get(key), theirs.get(key)))
            if len(lines) >= limit:
                break
    return lines
