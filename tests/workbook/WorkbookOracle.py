"""Helpers of the workbook tests: read .xls and .xlsx files with frusta2-cli, xlrd, openpyxl
and LibreOffice, into {(row, col): (type, value)} per sheet in the words of `frusta2-cli dump`
(number, text, boolean, error, blank; dates as 1900-system day numbers).

Run as a program (`WorkbookOracle.py BOOK EXPECTED.tsv`) it checks a book we wrote against
the cells it was meant to hold. EXPECTED.tsv: the sheet names on the first line, then one
line per cell: sheet, row, col, type, value (texts with \\ \t \n \r escaped) and built-in
number format id. Exit status 0 when every reader agrees, 1 with the differences printed, 77
when a reader is missing (LibreOffice: and the others agree)."""
import csv
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

TEST_DATA_DIR = os.environ.get("FRUSTA_TEST_DATA_DIR", "")
ERRORS = {0x00: "#NULL!", 0x07: "#DIV/0!", 0x0F: "#VALUE!", 0x17: "#REF!", 0x1D: "#NAME?",
          0x24: "#NUM!", 0x2A: "#N/A"}
# Built-in number formats as xlrd (.xls) and openpyxl (.xlsx) name them.
FORMATS = {False: {0: "General", 2: "0.00", 14: "m/d/yy"},
           True: {0: "General", 2: "0.00", 14: "mm-dd-yy"}}


def cli(*args):
    program = os.path.join(os.environ.get("FRUSTA_PROGRAM_DIR", ""), "frusta2-cli")
    return subprocess.run([program, *args], capture_output=True, text=True, timeout=120)


def cell(kind, value):
    """A cell from the dump's type and value fields."""
    if kind == "number":
        return (kind, float(value))
    escapes = {"t": "\t", "n": "\n", "r": "\r"}
    return (kind, re.sub(r"\\(.)", lambda m: escapes.get(m.group(1), m.group(1)), value))


def our_cells(path, sheet):
    run = cli("dump", path, "--sheet", sheet)
    assert run.returncode == 0, run.stderr
    lines = run.stdout.split("\n")[:-1]
    return {(int(r), int(c)): cell(kind, value)
            for r, c, kind, value in (line.split("\t", 3) for line in lines)}


def xlrd_book(path):
    """xlrd's book, None when xlrd refuses the file; formats and blanks for .xls only, as
    xlrd has neither for .xlsx."""
    import xlrd
    try:
        with open(os.devnull, "w") as quiet:
            return xlrd.open_workbook(path, formatting_info=not zipfile.is_zipfile(path),
                                      logfile=quiet)
    except Exception:
        return None


def xlrd_cells(book, index):
    """Dates of 1904-system books are moved to 1900-system day numbers, as we move them."""
    import xlrd
    sheet = book.sheet_by_index(index)
    cells = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            t, v = sheet.cell_type(r, c), sheet.cell_value(r, c)
            if t == xlrd.XL_CELL_TEXT and v is not None:  # None: string formula not calculated
                cells[(r, c)] = ("text", v)
            elif t == xlrd.XL_CELL_NUMBER:
                cells[(r, c)] = ("number", float(v))
            elif t == xlrd.XL_CELL_DATE:
                cells[(r, c)] = ("number", float(v) + (1462.0 if book.datemode == 1 else 0.0))
            elif t == xlrd.XL_CELL_BOOLEAN:
                cells[(r, c)] = ("boolean", "TRUE" if v else "FALSE")
            elif t == xlrd.XL_CELL_ERROR:
                cells[(r, c)] = ("error", ERRORS.get(v, "#N/A"))
            elif t == xlrd.XL_CELL_BLANK:
                cells[(r, c)] = ("blank", "")
    return cells


def xlrd_format(book, index, key):
    xf = book.xf_list[book.sheet_by_index(index).cell_xf_index(*key)]
    return book.format_map[xf.format_key].format_str


def openpyxl_cells(path):
    """{sheet: {(row, col): (type, value, number format)}}, blanks left out."""
    import openpyxl
    from openpyxl.utils.datetime import to_excel
    sheets = {}
    for sheet in openpyxl.load_workbook(path, read_only=True, data_only=True).worksheets:
        cells = sheets.setdefault(sheet.title, {})
        for c in (c for row in sheet.iter_rows() for c in row):
            v = getattr(c, "value", None)
            if v is None:
                continue
            if isinstance(v, bool):
                v = ("boolean", "TRUE" if v else "FALSE")
            elif isinstance(v, (datetime.datetime, datetime.date)):
                v = ("number", float(to_excel(v)))
            elif isinstance(v, (int, float)):
                v = ("number", float(v))
            elif c.data_type == "e":
                v = ("error", v)
            else:  # openpyxl 3.0 leaves the _xHHHH_ escapes of texts undecoded
                v = ("text", re.sub(r"_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m[1], 16)), v))
            cells[(c.row - 1, c.column - 1)] = v + (c.number_format,)
    return sheets


def soffice_csv(path, work):
    """{sheet: {(row, col): field}}: every sheet converted to CSV by LibreOffice, numbers
    unformatted (to 15 significant digits), dates as dates, non-empty fields only."""
    options = "44,34,76,1,,0,false,true,false,false,false,-1"  # UTF-8, every sheet a file
    subprocess.run(["soffice", "-env:UserInstallation=file://" + work + "/profile", "--headless",
                    "--convert-to", "csv:Text - txt - csv (StarCalc):" + options,
                    "--outdir", work, path], capture_output=True, timeout=600, check=True)
    stem = os.path.splitext(os.path.basename(path))[0] + "-"
    sheets = {}
    for name in os.listdir(work):
        if name.startswith(stem) and name.endswith(".csv"):
            with open(os.path.join(work, name), newline="", encoding="utf-8") as f:
                sheets[name[len(stem):-4]] = {(r, c): v for r, row in enumerate(csv.reader(f))
                                              for c, v in enumerate(row) if v != ""}
    return sheets


def lo_agrees(kind, value, fmt, field):
    """Whether LibreOffice's CSV field shows the cell: booleans of .xls files as 1 and 0,
    line breaks as LF."""
    if kind == "boolean":
        return field in (value, "1" if value == "TRUE" else "0")
    if kind == "number" and fmt == 14:
        day = datetime.date(1899, 12, 30) + datetime.timedelta(days=int(value))
        return field == day.strftime("%m/%d/%Y")
    if kind == "number":
        try:
            return abs(float(field) - value) <= 1e-14 * abs(value)
        except ValueError:
            return False
    return field == value.replace("\r\n", "\n")


def diff(ours, theirs, who, limit=10):
    keys = [k for k in sorted(set(ours) | set(theirs)) if ours.get(k) != theirs.get(k)]
    return ["%s %s: ours %.60r, theirs %.60r" % (who, k, ours.get(k), theirs.get(k))
            for k in keys[:limit]]


def check(path, names, want):
    """Differences between the cells `want` and what xlrd, openpyxl and LibreOffice read."""
    xlsx = zipfile.is_zipfile(path)
    book = xlrd_book(path)
    if book is None or book.sheet_names() != names:
        return ["xlrd reads sheets %r, expected %r" % (book and book.sheet_names(), names)]
    problems = []
    pyxl = openpyxl_cells(path) if xlsx else {}
    for index, name in enumerate(names):
        cells = {k: (t, v, FORMATS[xlsx][f]) for k, (t, v, f) in want[name].items()
                 if not (xlsx and t == "blank")}
        if xlsx:
            problems += diff(cells, pyxl.get(name, {}), "openpyxl " + name)
            problems += diff({k: v[:2] for k, v in cells.items()}, xlrd_cells(book, index),
                             "xlrd " + name)
        else:
            theirs = {k: v + (xlrd_format(book, index, k),)
                      for k, v in xlrd_cells(book, index).items()}
            problems += diff(cells, theirs, "xlrd " + name)
    if not shutil.which("soffice"):
        return problems
    with tempfile.TemporaryDirectory() as work:
        sheets = soffice_csv(path, work)
        for name in names:
            fields = sheets.get(name, {})
            cells = {k: v for k, v in want[name].items() if v[1] != ""}
            problems += ["LibreOffice %s %s: %.60r, expected %.60r" % (name, k, fields.get(k), v)
                         for k, v in cells.items() if not lo_agrees(*v, fields.get(k, ""))]
            problems += ["LibreOffice %s %s: unexpected %.60r" % (name, k, fields[k])
                         for k in set(fields) - set(cells)]
    return problems


def main():
    try:
        import openpyxl  # noqa: F401
        import xlrd  # noqa: F401
    except ImportError:
        sys.exit(77)
    with open(sys.argv[2], encoding="utf-8", newline="\n") as f:
        lines = f.read().split("\n")[:-1]
    names = lines[0].split("\t")
    want = {name: {} for name in names}
    for sheet, row, col, kind, value, fmt in (line.split("\t") for line in lines[1:]):
        want[sheet][(int(row), int(col))] = cell(kind, value) + (int(fmt),)
    problems = check(sys.argv[1], names, want)
    print("\n".join(problems[:30]))
    sys.exit(1 if problems else 0 if shutil.which("soffice") else 77)


if __name__ == "__main__":
    main()
