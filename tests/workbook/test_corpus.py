"""Every workbook of the real-world corpus, and every .xls made by xlwt and LibreOffice for the
tests, is read or refused with a reason, never with a crash; where xlrd reads a file,
`frusta2-cli dump` agrees with it on every cell's type and value."""
import glob
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from WorkbookOracle import TEST_DATA_DIR, cli, our_cells, xlrd_book, xlrd_cells  # noqa: E402

CORPUS = os.path.join(TEST_DATA_DIR, "workbook", "corpus")
MADE = os.path.join(TEST_DATA_DIR, "workbook", "xls")

# Files refused on purpose, though xlrd reads them or fails for its own reason.
REFUSED = {
    "password.xls": "password-protected",
    "protected_passtika.xlsx": "password-protected",
    "testEXCEL_95.xls": "Excel 5.0/95",
}


class CorpusTest(unittest.TestCase):
    def test_every_file_is_read_or_refused_and_agrees_with_xlrd(self):
        files = sorted(glob.glob(os.path.join(CORPUS, "*.xls*")))
        self.assertGreaterEqual(len(files), 25)
        compared = 0
        for path in files + sorted(glob.glob(os.path.join(MADE, "*.xls"))):
            name = os.path.basename(path)
            with self.subTest(file=name):
                run = cli("sheets", path)
                self.assertIn(run.returncode, (0, 1), run.stderr)  # no crash or signal
                book = xlrd_book(path)
                if book is not None and book.nsheets == 0:  # xlrd knows no Strict OOXML
                    book = None
                if run.returncode == 1:
                    self.assertRegex(run.stderr, r"cannot read '.*': \S.{10,}")
                    self.assertIn(REFUSED.get(name, ""), run.stderr)
                    if name not in REFUSED:
                        self.assertIsNone(book, "xlrd reads %s but we refuse it" % name)
                    continue
                if book is None:
                    self.assertEqual(name, "SimpleStrict.xlsx", "xlrd refuses it but we read it")
                    continue
                sheets = run.stdout.split("\n")[:-1]
                self.assertEqual(sheets, book.sheet_names())
                for index, sheet in enumerate(sheets):
                    ours = {k: v for k, v in our_cells(path, sheet).items()
                            if not (name.endswith(".xlsx") and v[0] == "blank")}  # xlrd has none
                    self.assertEqual(ours, xlrd_cells(book, index), "%s / %s" % (name, sheet))
                compared += 1
        self.assertEqual(compared, 20)

    def test_strict_ooxml(self):
        cells = our_cells(os.path.join(CORPUS, "SimpleStrict.xlsx"), "Sheet1")
        self.assertEqual(cells[(0, 0)], ("text", "test"))
        self.assertEqual(cells[(5, 2)], ("number", 6.0))


if __name__ == "__main__":
    unittest.main()
