"""Books written by other programs (python3-xlsxwriter, python3-openpyxl, LibreOffice) are
read with the right types and values by `frusta2-cli dump`."""
import datetime
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from WorkbookOracle import cli, our_cells  # noqa: E402

TEXTS = ["Achnanthidium minutissimum", "Grüße – 水 \U0001F600", "tab\there", "two\nlines",
         "<&>\"'", "_x0041_ literal"]
# Numbers that these writers print exactly (they print at most 16 or 17 significant digits;
# 17-digit numbers are checked against hand-written XML in XlsxReadTest).
NUMBERS = [0, -1.5, 0.1, 1 / 3, 123456789.125, 1e-300, 2 ** 53, 40179]


def cells_of(path, sheet=None):
    """The cells of the sheet (the first by default), blanks left out."""
    sheet = sheet or cli("sheets", path).stdout.split("\n")[0]
    return {k: v for k, v in our_cells(path, sheet).items() if v[0] != "blank"}


class WritersTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="frusta-xlsx-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def check_common(self, cells, texts=TEXTS):
        for i, text in enumerate(texts):
            self.assertEqual(cells[(i, 0)], ("text", text))
        for i, number in enumerate(NUMBERS):  # exact to 17 significant digits
            self.assertEqual(cells[(i, 1)], ("number", number))

    def test_xlsxwriter(self):
        import xlsxwriter
        for constant_memory in (False, True):  # shared strings, or inline strings
            with self.subTest(constant_memory=constant_memory):
                path = self.path(f"xw{int(constant_memory)}.xlsx")
                wb = xlsxwriter.Workbook(path, {"constant_memory": constant_memory,
                                                "date_1904": True})
                ws = wb.add_worksheet("Counts")
                for i in range(len(TEXTS)):
                    ws.write_string(i, 0, TEXTS[i])
                    ws.write_number(i, 1, NUMBERS[i])
                for i in range(len(TEXTS), len(NUMBERS)):
                    ws.write_number(i, 1, NUMBERS[i])
                # Rows in order, as the constant-memory mode needs.
                bold = wb.add_format({"bold": True})
                ws.write_rich_string(10, 2, "rich ", bold, "text")
                ws.write_boolean(11, 2, True)
                ws.write_blank(12, 2, None, bold)
                ws.write_formula(13, 2, "=1/0", None, "#DIV/0!")
                ws.write_formula(14, 2, "=1=1", None, True)
                ws.write_formula(15, 2, '="a"', None, "abc")
                ws.write_formula(16, 2, "=1+1", None, 2)
                dates = wb.add_format({"num_format": "dd/mm/yyyy"})
                ws.write_datetime(17, 2, datetime.datetime(2010, 1, 1), dates)
                ws.write_number(18, 2, 40179, wb.add_format({"num_format": "0.00"}))
                wb.add_chartsheet("Chart")
                wb.add_worksheet("Hidden").hide()
                wb.close()
                self.assertEqual(cli("sheets", path).stdout, "Counts\nHidden\n")
                cells = cells_of(path)
                self.check_common(cells)
                self.assertEqual(cells[(10, 2)], ("text", "rich text"))
                self.assertEqual(cells[(11, 2)], ("boolean", "TRUE"))
                self.assertNotIn((12, 2), cells)  # blank
                self.assertEqual(cells[(13, 2)], ("error", "#DIV/0!"))
                self.assertEqual(cells[(14, 2)], ("boolean", "TRUE"))
                self.assertEqual(cells[(15, 2)], ("text", "abc"))
                self.assertEqual(cells[(16, 2)], ("number", 2))
                # The 1904 date system: dates become 1900-system day numbers, other
                # numbers stay.
                self.assertEqual(cells[(17, 2)], ("number", 40179))
                self.assertEqual(cells[(18, 2)], ("number", 40179))
                dump = cli("dump", path).stdout
                self.assertIn("12\t2\tblank\t\n", dump)

    def test_openpyxl(self):
        import openpyxl
        path = self.path("op.xlsx")
        wb = openpyxl.Workbook()
        ws = wb.active
        ws.title = "Data"
        for i in range(len(TEXTS)):
            ws.cell(i + 1, 1, TEXTS[i])
        for i in range(len(NUMBERS)):
            ws.cell(i + 1, 2, NUMBERS[i])
        ws.cell(1, 3, True)
        ws.cell(2, 3, False)
        ws.cell(3, 3, "=SUM(B1:B2)")  # a formula without a calculated value
        ws.cell(4, 3, datetime.date(2010, 1, 1))
        err = ws.cell(5, 3, "#N/A")
        err.data_type = "e"
        ws.cell(1000, 30, 7)
        wb.create_sheet("Second").cell(2, 2, "x")
        wb.save(path)
        self.assertEqual(cli("sheets", path).stdout, "Data\nSecond\n")
        cells = cells_of(path)
        # openpyxl writes "_x0041_" unescaped, which reads as "A", as in Excel.
        self.check_common(cells, TEXTS[:-1] + ["A literal"])
        self.assertEqual(cells[(0, 2)], ("boolean", "TRUE"))
        self.assertEqual(cells[(1, 2)], ("boolean", "FALSE"))
        self.assertNotIn((2, 2), cells)
        self.assertEqual(cells[(3, 2)], ("number", 40179))
        self.assertEqual(cells[(4, 2)], ("error", "#N/A"))
        self.assertEqual(cells[(999, 29)], ("number", 7))
        self.assertEqual(cells_of(path, "Second"), {(1, 1): ("text", "x")})

    @unittest.skipUnless(shutil.which("soffice"), "LibreOffice is not installed")
    def test_libreoffice(self):
        # An openpyxl book saved again by LibreOffice, which calculates its formulas.
        import openpyxl
        source = self.path("fromopenpyxl.xlsx")
        wb = openpyxl.Workbook()
        ws = wb.active
        for i in range(len(TEXTS)):
            ws.cell(i + 1, 1, TEXTS[i])
        for i in range(len(NUMBERS)):
            ws.cell(i + 1, 2, NUMBERS[i])
        ws.cell(1, 3, True)
        ws.cell(2, 3, "=1/0")
        ws.cell(3, 3, "=B1+2")
        ws.cell(4, 3, '="a"&"b"')
        ws.cell(5, 3, datetime.date(2010, 1, 1)).number_format = "dd/mm/yyyy"
        wb.create_sheet("Zweites Blatt").cell(1, 1, "Straße")
        wb.save(source)
        profile = "file://" + self.path("profile")
        subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless",
                        "--convert-to", "xlsx", "--outdir", self.path("out"), source],
                       capture_output=True, timeout=300, check=True)
        converted = self.path("out/fromopenpyxl.xlsx")
        self.assertEqual(cli("sheets", converted).stdout, "Sheet\nZweites Blatt\n")
        cells = cells_of(converted)
        # LibreOffice takes openpyxl's "_x0041_" literally and escapes it when saving.
        for i, text in enumerate(TEXTS):
            self.assertEqual(cells[(i, 0)], ("text", text))
        for i, number in enumerate(NUMBERS):  # LibreOffice keeps 15 to 17 significant digits
            self.assertEqual(cells[(i, 1)][0], "number")
            self.assertAlmostEqual(cells[(i, 1)][1], number, delta=abs(number) * 1e-14)
        self.assertEqual(cells[(0, 2)], ("boolean", "TRUE"))
        self.assertEqual(cells[(1, 2)], ("error", "#DIV/0!"))
        self.assertEqual(cells[(2, 2)], ("number", 2))
        self.assertEqual(cells[(3, 2)], ("text", "ab"))
        self.assertEqual(cells[(4, 2)], ("number", 40179))
        self.assertEqual(cells_of(converted, "Zweites Blatt"), {(0, 0): ("text", "Straße")})


if __name__ == "__main__":
    unittest.main()
