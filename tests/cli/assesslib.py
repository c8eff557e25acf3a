"""Shared pieces of the end-to-end tests: a reference database with known values, sample
workbooks written by independent programs, and a runner for frusta2-cli."""
import json
import os
import sqlite3
import subprocess
import tempfile
import unittest

PROGRAM_DIR = os.environ.get("FRUSTA_PROGRAM_DIR", os.path.join(os.path.dirname(__file__), "../../build/bin"))
CLI = os.path.join(PROGRAM_DIR, "frusta2-cli")

# Master list: code -> (key, name, TDI3, TDI4, LTDI1, LTDI2, DAM, motile, orgtol, planktic, saline)
TAXA = {
    "AA001": ("NBN0001", "Taxon one", 1, 1, 1, 1, 1, 1, 0, 0, 0),
    "AA002": ("NBN0002", "Taxon five", 5, 5, 5, 5, 5, 0, 1, 1, 0),
    "AA003": ("NBN0003", "Taxon three", 3, 3, 3, 3, 3, 0, 0, 0, 1),
    "AA004": ("NBN0004", "Unscored", None, None, None, None, None, 1, 1, 1, 1),
}


# The sheets after the existing ones: how each taxon was matched, and how the run was made.
NEW_SHEETS = ["Taxon matching", "Run details"]
# The run details that differ between two runs of the same workbook and reference data.
RUN_TIME = "Analysed at (UTC)"
# ... and those that name the input workbook's file.
INPUT_DETAILS = ("Input workbook", "Input workbook folder", "Input workbook SHA-256")


def without_run_details(sheets, labels):
    """The sheets with the values of the run details of `labels` made neutral."""
    for key, (value, fmt) in sheets.get("Run details", {}).items():
        if key[1] == 1 and sheets["Run details"].get((key[0], 0), ("",))[0] in labels:
            sheets["Run details"][key] = ("(varies)", fmt)
    return sheets


def without_run_time_json(data):
    """A results document (bytes) as objects, with the time of the analysis left out."""
    doc = json.loads(data)
    doc.get("run", {}).pop(RUN_TIME, None)
    return doc


def without_run_time_csv(data):
    """The bytes of a NAME-run.csv file with the time of the analysis left out."""
    prefix = (RUN_TIME + ",").encode()
    return b"".join(line for line in data.splitlines(keepends=True) if not line.startswith(prefix))


def make_database(path):
    """A reference database with round numbers: boundaries 0.8/0.6/0.4/0.2 for rivers and DAM,
    lake types HA (median 20) and MA (median 30), CoC coefficients 0.1, 0, 0, 1."""
    con = sqlite3.connect(path)
    con.execute(
        "CREATE TABLE NBSMasterTaxonList_PhaseII (TaxonKey TEXT, TaxonCode TEXT, TaxonName TEXT, "
        "TDI3 DOUBLE, TDI4 DOUBLE, LTDI1 DOUBLE, LTDI2 DOUBLE, DAM DOUBLE, Motile BOOLEAN, "
        "OrganicTolerant BOOLEAN, Planktic BOOLEAN, Saline BOOLEAN)")
    con.executemany("INSERT INTO NBSMasterTaxonList_PhaseII VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                    [(v[0], code) + v[1:] for code, v in TAXA.items()])
    con.execute("CREATE TABLE Boundaries (SiteType TEXT, LakeType TEXT, MedianTDI DOUBLE, HG DOUBLE, "
                "GM DOUBLE, MP DOUBLE, PB DOUBLE)")
    con.executemany("INSERT INTO Boundaries VALUES (?, ?, ?, 0.8, 0.6, 0.4, 0.2)",
                    [(st, "", 0) for st in ("TDI3", "TDI4", "DAM")]
                    + [(st, lake, median) for st in ("LTDI1", "LTDI2")
                       for lake, median in (("HA", 20), ("MA", 30))])
    con.execute("CREATE TABLE CoC (SiteType TEXT, Coefficient INTEGER, Value DOUBLE)")
    con.executemany("INSERT INTO CoC VALUES (?, ?, ?)",
                    [(st, coef, value) for st in ("TDI", "LTDI")
                     for coef, value in ((3, 1.0), (0, 0.1), (2, 0.0), (1, 0.0))])
    con.commit()
    con.close()


def river_rows(family="rivers"):
    """Worksheet rows (lists of cell values; None = empty) for a small assessment."""
    label4 = {"rivers": "Alkalinity (mg/l)", "lakes": "Lake type", "dam": "Alkalinity"}[family]
    chem4 = {"rivers": [10, 10, 300, None], "lakes": ["HA", "ha", "MA", "MA"],
             "dam": [50, 50, 50, 50]}[family]
    return [
        ["Sample", None, "S1", "S2", "S3", "S4"],
        ["Site code", None, "ST01", "st01", "ST02", "X"],
        ["Date", None, ("date", 40179), ("date", 40400), 15, ("date", 40300)],
        [label4, None] + chem4,
        ["Calcium (ueq/l)", None, 100, 100, 600, None],
        ["DOC (mg/l)", None, 1, 1, 0, 2],
        ["AA001", "Taxon one", 10, 0, 5, 0],
        ["aa002", "Taxon five", 10, 20, None, 0],
        ["AA004", "Unscored", 1, 0, 0, 7],
        ["ZZ999", "Not in the list", 2, 2, 0, 0],
    ]


def write_xlwt(path, rows, sheet="Counts"):
    import xlwt
    book = xlwt.Workbook()
    ws = book.add_sheet(sheet)
    date_style = xlwt.easyxf(num_format_str="DD/MM/YYYY")
    for r, c, v in cells(rows):
        if isinstance(v, tuple):
            ws.write(r, c, v[1], date_style)
        else:
            ws.write(r, c, v)
    book.save(path)


def write_openpyxl(path, rows, sheet="Counts"):
    import datetime
    import openpyxl
    book = openpyxl.Workbook()
    ws = book.active
    ws.title = sheet
    for r, c, v in cells(rows):
        cell = ws.cell(row=r + 1, column=c + 1)
        if isinstance(v, tuple):
            cell.value = datetime.datetime(1899, 12, 30) + datetime.timedelta(days=v[1])
            cell.number_format = "dd/mm/yyyy"
        else:
            cell.value = v
    book.save(path)


def cells(rows):
    """(row, column, value) of every cell that is not empty; a date is ("date", day number)."""
    return [(r, c, v) for r, row in enumerate(rows) for c, v in enumerate(row) if v is not None]


def run(args, cwd=None):
    p = subprocess.run([CLI] + args, capture_output=True, text=True, cwd=cwd, timeout=120)
    return p.returncode, p.stdout, p.stderr


def read_results(path):
    """{sheet name: {(row, col): value}} read by xlrd (.xls) or openpyxl (.xlsx), with the number
    format of each numeric cell."""
    with open(path, "rb") as f:
        magic = f.read(4)
    out = {}
    if magic == b"PK\x03\x04":
        import openpyxl
        with open(path, "rb") as f:  # openpyxl judges by the name; the content decides here
            book = openpyxl.load_workbook(f)
        for ws in book.worksheets:
            cells = {}
            for row in ws.iter_rows():
                for cell in row:
                    if cell.value is not None:
                        cells[(cell.row - 1, cell.column - 1)] = (cell.value, cell.number_format)
            out[ws.title] = cells
        return "xlsx", out
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True)
    for ws in book.sheets():
        cells = {}
        for r in range(ws.nrows):
            for c in range(ws.ncols):
                cell = ws.cell(r, c)
                if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                    continue
                fmt = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
                value = cell.value
                if cell.ctype == xlrd.XL_CELL_DATE:
                    value = ("date", value)
                cells[(r, c)] = (value, fmt)
        out[ws.name] = cells
    return "xls", out


def temp_dir():
    return tempfile.TemporaryDirectory(prefix="frusta-e2e-")


class WithDatabase(unittest.TestCase):
    """Tests that share a temporary folder (tmp) holding a reference database (db)."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = temp_dir()
        cls.db = os.path.join(cls.tmp.name, "ref.sqlite")
        make_database(cls.db)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()
