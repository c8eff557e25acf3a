"""Every workbook of the real-world corpus, every .xls made by xlwt, LibreOffice and the
record-by-record generator for the older versions (Excel 2.x to 95), and every .xlsx made
for the reader's fallbacks, is read or refused with a reason, never with a crash. Where
xlrd reads a file, `frusta2-cli dump` agrees with it on every cell's type and value; where
openpyxl reads an .xlsx, it agrees with openpyxl too. Every .ods and .fods that LibreOffice
made of these workbooks (ods/make_ods.sh) reads as the workbook it came from."""
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
ODS = os.path.join(TEST_DATA_DIR, "workbook", "ods")

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


# What LibreOffice does otherwise than we do, by workbook: the cells (or sheets) its .ods
# holds differently, and why.
LO_RECALCULATES = {  # formulas recalculated on loading, or of versions it reads otherwise
    "ErrPtg.xls": {"Sheet1": {(0, 0), (1, 0), (2, 0), (4, 0), (5, 0)}},
    "biff5_book.xls": {"Daten": {(6, c) for c in range(7)}},
    "biff7_1904.xls": {"Daten": {(6, c) for c in range(7)}},
    "biff7_cp1251.xls": {"\u041f\u0440\u043e\u0431\u0430": {(2, 0)}},
    "biff7_cp932.xls": {"\u8a66\u6599\u4e00": {(3, 0)}},
    "biff8_old_formula_ids.xls": {"Formulas": "all"},
    # A time of day in a 1904-system workbook stays a time of day in LibreOffice.
    "xlwt_1904.xls": {"Dates": {(1, 0)}},
}
# Excel 2.x to 4.0 files: LibreOffice names their sheets itself, ignores their 1904 date
# system and reads their formulas otherwise; only their sheets are compared.
LO_READS_OLD_BIFF_OTHERWISE = {"biff20_no_xf.xls", "biff2_1904.xls", "biff2_types.xls",
                               "biff3_cp1251.xls", "biff4_cp1250.xls", "biff4w_workbook.xls"}
LO_KEEPS_CHART_SHEETS = {"biff5_book.xls": ["Diagramm"], "biff7_1904.xls": ["Diagramm"]}
LO_CANNOT_READ = {"prerelease_namespace.xlsx"}  # the namespace of Excel 2007 pre-releases


def comparable(cells):
    """Cells as both formats can hold them: no blanks or empty texts (LibreOffice drops them),
    booleans as the numbers it often writes for them, line breaks as line feeds."""
    out = {}
    for key, (kind, value) in cells.items():
        if kind == "blank" or (kind == "text" and value == ""):
            continue
        if kind == "boolean":
            kind, value = "number", 1.0 if value == "TRUE" else 0.0
        elif kind == "text":
            value = value.replace("\r\n", "\n")
        out[key] = (kind, value)
    return out


def same_cell(a, b):
    """LibreOffice writes numbers to 15 significant digits and times to the millisecond."""
    if a is None or b is None or a[0] != b[0]:
        return False
    if a[0] == "number":
        return a[1] == b[1] or abs(a[1] - b[1]) <= 1e-12 * abs(a[1])
    return a[1] == b[1]


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

    def test_every_opendocument_file_libreoffice_made_reads_as_its_original(self):
        made = sorted(glob.glob(os.path.join(ODS, "*.ods")) + glob.glob(os.path.join(ODS, "*.fods")))
        self.assertEqual(len(made), 78)
        compared = 0
        for path in made:
            name = os.path.basename(path)
            source = name.rsplit(".", 1)[0]
            original = next(p for p in (os.path.join(d, source) for d in (CORPUS, MADE, MADE_XLSX, ODS))
                            if os.path.exists(p))
            with self.subTest(file=name):
                theirs = cli("sheets", path)
                self.assertEqual(theirs.returncode, 0, theirs.stderr)
                ours = cli("sheets", original)
                if ours.returncode != 0 or source in LO_CANNOT_READ:
                    continue  # LibreOffice repairs what we refuse as damaged
                sheets = ours.stdout.split("\n")[:-1]
                converted = [s for s in theirs.stdout.split("\n")[:-1]
                             if s not in LO_KEEPS_CHART_SHEETS.get(source, [])]
                self.assertEqual(len(converted), len(sheets))
                if source in LO_READS_OLD_BIFF_OTHERWISE:
                    continue
                self.assertEqual(converted, sheets)
                for sheet, their_sheet in zip(sheets, converted):
                    if (source, sheet) in UNREADABLE_SHEETS:
                        continue
                    excused = LO_RECALCULATES.get(source, {}).get(sheet, set())
                    if excused == "all":
                        continue
                    want = comparable(our_cells(original, sheet))
                    got = comparable(our_cells(path, their_sheet))
                    wrong = [k for k in sorted(set(want) | set(got))
                             if k not in excused and not same_cell(want.get(k), got.get(k))]
                    self.assertEqual(wrong, [], "%s / %s: %r" % (name, sheet, [
                        (k, want.get(k), got.get(k)) for k in wrong[:5]]))
                compared += 1
        self.assertEqual(compared, 58)

    def test_libreoffice_wrote_every_kind_of_opendocument_cell(self):
        """features.xlsx.ods holds what the comparison above must cover."""
        with zipfile.ZipFile(os.path.join(ODS, "features.xlsx.ods")) as z:
            content = z.read("content.xml").decode("utf-8")
        for construct in ("table:number-columns-repeated=", "table:number-rows-repeated=",
                          'office:value-type="date"', 'office:value-type="time"',
                          'office:value-type="percentage"', 'office:value-type="currency"',
                          "<table:covered-table-cell", "table:formula=", "<text:s", "<text:span",
                          "<text:tab/>", 'calcext:value-type="error"'):
            self.assertIn(construct, content)
        self.assertRegex(content, r"</text:p><text:p>")  # a text of several paragraphs
        cells = our_cells(os.path.join(ODS, "features.xlsx.ods"), "Features")
        self.assertEqual(cells[(9, 0)], ("text", "Navicula\ncryptocephala"))
        self.assertEqual(cells[(9, 3)], ("text", "  leading and trailing  "))
        self.assertEqual(cells[(7, 0)], ("number", 39843.0))
        self.assertEqual(cells[(7, 4)], ("number", 0.125))
        self.assertEqual(cells[(11, 3)], ("error", "#DIV/0!"))
        self.assertEqual(cells[(13, 1)], ("text", "Merged"))
        self.assertNotIn((13, 2), cells)
        self.assertEqual(cells[(4999, 1)], ("number", 42.0))

    def test_strict_ooxml(self):
        cells = our_cells(os.path.join(CORPUS, "SimpleStrict.xlsx"), "Sheet1")
        self.assertEqual(cells[(0, 0)], ("text", "test"))
        self.assertEqual(cells[(5, 2)], ("number", 6.0))


if __name__ == "__main__":
    unittest.main()
