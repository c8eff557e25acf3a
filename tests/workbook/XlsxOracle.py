"""Helpers of the .xlsx tests: run frusta2-cli, and read workbooks with xlrd, openpyxl or
LibreOffice into the same form as `frusta2-cli dump` prints.

Run as a program (`XlsxOracle.py xlrd|openpyxl|soffice WORKBOOK`) it prints every cell as
sheet<TAB>row<TAB>col<TAB>type<TAB>value, for the C++ round-trip tests."""
import csv
import glob
import os
import shutil
import subprocess
import sys
import tempfile

from XlsOracle import unescape  # the dump's escapes


def cli(*args):
    program = os.path.join(os.environ["FRUSTA_PROGRAM_DIR"], "frusta2-cli")
    return subprocess.run([program, *args], capture_output=True, text=True, timeout=120)


def dump_sheet(path, sheet):
    run = cli("dump", path, "--sheet", sheet)
    if run.returncode != 0:
        raise AssertionError(f"dump of {path} failed: {run.stderr}")
    cells = []
    for line in run.stdout.split("\n"):
        if line:
            r, c, t, v = line.split("\t", 3)
            cells.append((int(r), int(c), t, unescape(v)))
    return cells


def dump_book(path, only=None):
    """[(sheet name, [(row, col, type, value), ...]), ...] as frusta2-cli reads the book;
    blank cells left out."""
    run = cli("sheets", path)
    if run.returncode != 0:
        raise AssertionError(f"sheets of {path} failed: {run.stderr}")
    names = [n for n in run.stdout.split("\n") if n]
    if only is not None:
        names = [only]
    return [(n, [c for c in dump_sheet(path, n) if c[2] != "blank"]) for n in names]


def number_text(value):
    return "%.17g" % value


def xlrd_cells(path):
    """The same form as dump_book, from xlrd; None when xlrd can't read the file. Dates of
    1904-system books are given as 1900-system day numbers, as our reader gives them."""
    import xlrd
    try:
        book = xlrd.open_workbook(path)
    except Exception:
        return None
    if book.nsheets == 0:
        return None
    sheets = []
    for sheet in book.sheets():
        cells = []
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                t, v = cell.ctype, cell.value
                if t in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                    continue
                if t == xlrd.XL_CELL_TEXT:
                    if v is None:  # xlrd's form of a string formula never calculated
                        continue
                    cells.append((r, c, "text", v))
                elif t == xlrd.XL_CELL_NUMBER:
                    cells.append((r, c, "number", number_text(v)))
                elif t == xlrd.XL_CELL_DATE:
                    cells.append((r, c, "number",
                                  number_text(v + 1462 if book.datemode == 1 else v)))
                elif t == xlrd.XL_CELL_BOOLEAN:
                    cells.append((r, c, "boolean", "TRUE" if v else "FALSE"))
                elif t == xlrd.XL_CELL_ERROR:
                    cells.append((r, c, "error", xlrd.error_text_from_code[v]))
        sheets.append((sheet.name, cells))
    return sheets


def decode_escapes(text):
    import re
    return re.sub(r"_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), text)


def openpyxl_cells(path):
    """As xlrd_cells, from openpyxl (read-only mode); dates back to day numbers; the
    number format of each number cell is appended to its type ("number|0.00")."""
    import datetime
    import openpyxl
    from openpyxl.utils.datetime import to_excel
    book = openpyxl.load_workbook(path, read_only=True)
    sheets = []
    for sheet in book.worksheets:
        cells = []
        for row in sheet.iter_rows():
            for cell in row:
                v = getattr(cell, "value", None)
                if v is None:
                    continue
                r, c = cell.row - 1, cell.column - 1
                if isinstance(v, bool):
                    cells.append((r, c, "boolean", "TRUE" if v else "FALSE"))
                elif isinstance(v, (int, float)):
                    cells.append((r, c, "number|" + cell.number_format, number_text(v)))
                elif isinstance(v, (datetime.datetime, datetime.date)):
                    cells.append((r, c, "number|" + cell.number_format, number_text(to_excel(v))))
                elif cell.data_type == "e":
                    cells.append((r, c, "error", v))
                else:
                    # openpyxl 3.0 leaves the _xHHHH_ escapes of texts undecoded.
                    cells.append((r, c, "text", decode_escapes(v)))
        sheets.append((sheet.title, cells))
    return sheets


def soffice_cells(path, names=None):
    """Every sheet converted to CSV by LibreOffice, with unformatted numbers (dates still
    appear as dates); the sheet names come from our own reader unless given."""
    if not names:
        names = [n for n in cli("sheets", path).stdout.split("\n") if n]
    work = tempfile.mkdtemp(prefix="frusta-soffice-")
    try:
        profile = "file://" + os.path.join(work, "profile")
        # UTF-8, comma, quote, raw values, every sheet to its own file.
        options = "44,34,76,1,,0,false,true,false,false,false,-1"
        subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless",
                        "--convert-to", "csv:Text - txt - csv (StarCalc):" + options,
                        "--outdir", work, path], capture_output=True, timeout=300, check=True)
        base = os.path.splitext(os.path.basename(path))[0]
        sheets = []
        for name in names:
            files = glob.glob(os.path.join(work, base + "-" + name + ".csv"))
            if not files and len(names) == 1:
                files = glob.glob(os.path.join(work, base + ".csv"))
            cells = []
            if files:
                with open(files[0], newline="", encoding="utf-8") as f:
                    for r, row in enumerate(csv.reader(f)):
                        for c, v in enumerate(row):
                            if v != "":
                                cells.append((r, c, "csv", v))
            sheets.append((name, cells))
        return sheets
    finally:
        shutil.rmtree(work, ignore_errors=True)


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            .replace("\r", "\\r"))


if __name__ == "__main__":
    reader = {"xlrd": xlrd_cells, "openpyxl": openpyxl_cells, "soffice": soffice_cells}
    extra = [sys.argv[3:]] if sys.argv[1] == "soffice" else []
    result = reader[sys.argv[1]](sys.argv[2], *extra)
    if result is None:
        sys.exit(1)
    out = sys.stdout.buffer
    for sheet, cells in result:
        for r, c, t, v in cells:
            out.write(f"{sheet}\t{r}\t{c}\t{t}\t{escape(str(v))}\n".encode("utf-8"))
