"""Every .xls of the real-world corpus, and every .xls made by xlwt and LibreOffice for the
tests, is read or refused with a reason; where xlrd reads a file, frusta2-cli dump agrees
with it on every cell's type and value."""
import glob
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import XlsOracle  # noqa: E402

CORPUS = os.path.join(XlsOracle.TEST_DATA_DIR, "workbook", "corpus")
MADE = os.path.join(XlsOracle.TEST_DATA_DIR, "workbook", "xls")

# Files the program refuses on purpose, and the reason it gives.
REFUSED = {
    "password.xls": "password-protected",
    "testEXCEL_95.xls": "Excel 5.0/95",
}


class CorpusTest(unittest.TestCase):
    def test_every_file_is_read_or_refused(self):
        files = sorted(glob.glob(os.path.join(CORPUS, "*.xls")))
        self.assertGreater(len(files), 10)
        files += sorted(glob.glob(os.path.join(MADE, "*.xls")))
        for path in files:
            name = os.path.basename(path)
            with self.subTest(file=name):
                sheets, error = XlsOracle.our_sheets(path)
                try:
                    book = XlsOracle.xlrd_book(path)
                except Exception:  # xlrd refuses it too
                    book = None
                if sheets is None:
                    self.assertIn("cannot read", error)
                    self.assertTrue(error.split(": ", 2)[-1], error)
                    if name in REFUSED:
                        self.assertIn(REFUSED[name], error)
                    else:
                        self.assertIsNone(book, "xlrd reads %s but we refuse: %s" % (name, error))
                    continue
                self.assertIsNotNone(book, "we read %s, which xlrd refuses" % name)
                xlrd_names = [s.name for s in book.sheets()]
                self.assertEqual(sheets, xlrd_names)
                for index, sheet in enumerate(sheets):
                    ours = XlsOracle.our_cells(path, sheet)
                    theirs = XlsOracle.xlrd_cells(book, index)
                    self.assertEqual(XlsOracle.diff(ours, theirs), [], "%s / %s" % (name, sheet))


if __name__ == "__main__":
    unittest.main()
