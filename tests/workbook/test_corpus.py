"""Every workbook of the real-world corpus, every .xls made by xlwt, LibreOffice and the
record-by-record generator for the older versions (Excel 2.x to 95), and every .xlsx made
for the reader's fallbacks, is read or refused with a reason, never with a crash. Where
xlrd reads a file, `frusta2-cli dump` agrees with it on every cell's type and value; where
openpyxl reads an .xlsx, it agrees with openpyxl too."""
import glob
import os
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from WorkbookOracle import (TEST_DATA_DIR, cli, openpyxl_cells, our_cells, xlrd_book,  # noqa: E402
                            xlrd_cells)

CORPUS = os.path.join(TEST_DATA_DIR, "workbook", "corpus")
MADE = os.path.join(TEST_DATA_DIR, "workbook", "xls")
MADE_XLSX = os.path.join(TEST_DATA_DIR, "workbook", "xlsx")

# Files refused on purpose, though xlrd reads them or fails for its own reason.
REFUSED = {
    "password.xls": "password-protected",
    "protected_passtika.xlsx": "password-protected",
}
# Sheets that a workbook lists but whose data is missing: listed, and refused when chosen
# (openpyxl leaves them out of the book).
UNREADABLE_SHEETS = {
    ("missing_sheet_part.xlsx", "Second"): "the part 'xl/worksheets/sheet2.xml' of sheet "
                                           "'Second' is missing",
}
PRERELEASE_NS = b"http://schemas.microsoft.com/office/excel/2006/2"
MAIN_NS = b"http://schemas.openxmlformats.org/spreadsheetml/2006/main"
# The older versions of Excel: every file of these must be read, and agree with xlrd.
OLD_BIFF = {"testEXCEL_95.xls"} | {os.path.basename(p) for p in glob.glob(os.path.join(
    MADE, "biff[2-7]*.xls"))}


def openpyxl_sheets(path):
    """openpyxl's cells by sheet, without number formats and empty texts (which xlrd and we
    read as empty cells); None when openpyxl reads no sheet. A workbook in the namespace of
    the Excel 2007 pre-releases, which openpyxl 3.0 does not know, is read with the
    namespace made the usual one."""
    work = None
    try:
        with zipfile.ZipFile(path) as z:
            parts = [(info, z.read(info)) for info in z.infolist()]
    except Exception:
        parts = []
    if any(PRERELEASE_NS in data for _, data in parts):
        with tempfile.NamedTemporaryFile(suffix=".xlsx", delete=False) as out:
            with zipfile.ZipFile(out, "w") as w:
                for info, data in parts:
                    w.writestr(info, data.replace(PRERELEASE_NS, MAIN_NS))
        work = path = out.name
    try:
        sheets = openpyxl_cells(path)
    except Exception:
        return None
    finally:
        if work:
            os.unlink(work)
    if not sheets:
        return None
    return {name: {k: v[:2] for k, v in cells.items() if v[:2] != ("text", "")}
            for name, cells in sheets.items()}


class CorpusTest(unittest.TestCase):
    def test_every_file_is_read_or_refused_and_agrees_with_xlrd_and_openpyxl(self):
        files = sorted(glob.glob(os.path.join(CORPUS, "*.xls*")))
        self.assertGreaterEqual(len(files), 25)
        self.assertGreaterEqual(len(OLD_BIFF), 11)
        made_xlsx = sorted(glob.glob(os.path.join(MADE_XLSX, "*.xlsx")))
        self.assertGreaterEqual(len(made_xlsx), 5)
        compared = {"xlrd": 0, "openpyxl": 0}
        old_compared = set()
        for path in files + sorted(glob.glob(os.path.join(MADE, "*.xls"))) + made_xlsx:
            name = os.path.basename(path)
            with self.subTest(file=name):
                run = cli("sheets", path)
                self.assertIn(run.returncode, (0, 1), run.stderr)  # no crash or signal
                xlsx = zipfile.is_zipfile(path)
                book = xlrd_book(path)
                if book is not None and book.nsheets == 0:  # xlrd knows no Strict OOXML
                    book = None
                pyxl = openpyxl_sheets(path) if xlsx else None
                if run.returncode == 1:
                    self.assertRegex(run.stderr, r"cannot read '.*': \S.{10,}")
                    self.assertIn(REFUSED.get(name, ""), run.stderr)
                    if name not in REFUSED:
                        self.assertIsNone(book, "xlrd reads %s but we refuse it" % name)
                        self.assertIsNone(pyxl, "openpyxl reads %s but we refuse it" % name)
                    self.assertNotIn(name, OLD_BIFF)
                    continue
                sheets = run.stdout.split("\n")[:-1]
                readable = [s for s in sheets if (name, s) not in UNREADABLE_SHEETS]
                for sheet in sheets:
                    if (name, sheet) in UNREADABLE_SHEETS:
                        refused = cli("dump", path, "--sheet", sheet)
                        self.assertEqual(refused.returncode, 1)
                        self.assertIn(UNREADABLE_SHEETS[(name, sheet)], refused.stderr)
                ours = {}
                for sheet in readable:
                    ours[sheet] = {k: v for k, v in our_cells(path, sheet).items()
                                   if not (xlsx and v[0] == "blank")}  # they have none
                if book is not None:
                    self.assertEqual(readable, book.sheet_names())
                    for index, sheet in enumerate(readable):
                        self.assertEqual(ours[sheet], xlrd_cells(book, index),
                                         "xlrd: %s / %s" % (name, sheet))
                    compared["xlrd"] += 1
                    if name in OLD_BIFF:
                        old_compared.add(name)
                if pyxl is not None:
                    self.assertEqual(readable, list(pyxl))
                    for sheet in readable:
                        self.assertEqual(ours[sheet], pyxl[sheet],
                                         "openpyxl: %s / %s" % (name, sheet))
                    compared["openpyxl"] += 1
                if book is None and pyxl is None:
                    self.assertEqual(name, "SimpleStrict.xlsx", "nobody reads it but we do")
        self.assertEqual(old_compared, OLD_BIFF)
        self.assertEqual(compared, {"xlrd": 34, "openpyxl": 12})

    def test_strict_ooxml(self):
        cells = our_cells(os.path.join(CORPUS, "SimpleStrict.xlsx"), "Sheet1")
        self.assertEqual(cells[(0, 0)], ("text", "test"))
        self.assertEqual(cells[(5, 2)], ("number", 6.0))


if __name__ == "__main__":
    unittest.main()
