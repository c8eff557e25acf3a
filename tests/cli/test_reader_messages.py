"""Every failure of the sample workbook reader, provoked by a workbook written by openpyxl or
xlwt, shows its exact message on standard error and ends with exit status 1."""
import os
import sqlite3
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402

INSUFFICIENT = "Insufficient data to calculate EQR.\nSampling date"


def rivers(row=None, col=None, value=None):
    """The river rows, with one cell changed."""
    rows = A.river_rows()
    if row is not None:
        rows[row][col] = value
    return rows


FAILURES = [  # message, worksheet rows, extra arguments, writer
    ("Worksheet has no data, try again", [["only one cell"]], [], A.write_openpyxl),
    ("No entries found in Sample Name row", rivers(), ["--first-col", "H"], A.write_openpyxl),
    ("No entries found in Taxon Code column", rivers(), ["--first-row", "11"], A.write_openpyxl),
    (INSUFFICIENT + " and alkalinity must be in rows 3 and 4.", rivers(), ["--first-row", "4"],
     A.write_openpyxl),
    (INSUFFICIENT + " and lake type must be in rows 3 and 4.", rivers(),
     ["--first-row", "3", "--metric", "LTDI2"], A.write_openpyxl),
    (INSUFFICIENT + ", calcium and DOC values must be in rows 3, 5 and 6.", rivers(),
     ["--first-row", "6", "--metric", "DAM"], A.write_openpyxl),
    ("Error: Alkalinity values must be in row 4 for TDI3 or TDI4 calculations.",
     rivers(3, 0, "Alk"), [], A.write_xlwt),
    ("Error: Lake Type must be in row 4 for LTDI1 or LTDI2 calculations.", rivers(3, 0, "Alk"),
     ["--metric", "LTDI1"], A.write_openpyxl),
    ("Error: Calcium values must be in row 5 for DAM calculations.", rivers(4, 0, "Ca"),
     ["--metric", "DAM"], A.write_openpyxl),
    ("Error: DOC values must be in row 6 for DAM calculations.", rivers(5, 0, "Organic carbon"),
     ["--metric", "DAM"], A.write_openpyxl),
    ("Error: indeterminate data in row 8, col 4", rivers(7, 3, "<1"), [], A.write_openpyxl),
    ("Error: indeterminate data in row 9, col 5", rivers(8, 4, True), [], A.write_xlwt),
    ('No worksheet named "Nope" in this workbook.', rivers(), ["--sheet", "Nope"],
     A.write_openpyxl),
]


class ReaderMessages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = A.temp_dir()
        cls.db = cls.database("ref.sqlite")

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    @classmethod
    def database(cls, name, *changes):
        path = os.path.join(cls.tmp.name, name)
        A.make_database(path)
        with sqlite3.connect(path) as con:
            for sql in changes:
                con.execute(sql)
        return path

    def assess(self, rows, extra=(), writer=A.write_openpyxl, db=None):
        """Runs the assessment; returns the exit status, both outputs and whether results were
        written."""
        path = os.path.join(self.tmp.name, "book.xls" if writer is A.write_xlwt else "book.xlsx")
        writer(path, rows)
        out = os.path.join(self.tmp.name, "out.xlsx")
        if os.path.exists(out):
            os.remove(out)
        rc, stdout, stderr = A.run(["assess", path, "--database", db or self.db, "-o", out]
                                   + list(extra))
        return rc, stdout, stderr, os.path.exists(out)

    def test_reader_failures(self):
        no_boundaries = self.database("no-boundaries.sqlite", "DROP TABLE Boundaries")
        for message, rows, extra, writer, db in [f + (None,) for f in FAILURES] + [
                ("Error opening boundary database\nError retrieving boundary data\n"
                 "(Cannot find the input table or query 'Boundaries'.  Make sure it exists and "
                 "that its name is spelled correctly.)", rivers(), [], A.write_openpyxl,
                 no_boundaries)]:
            with self.subTest(message=message):
                self.assertEqual(self.assess(rows, extra, writer, db), (1, "", message + "\n", False))

    def test_files_that_are_no_workbook(self):
        text = os.path.join(self.tmp.name, "not-a-workbook.xls")
        with open(text, "w") as f:
            f.write("plain text, not a workbook\n")
        import openpyxl
        book = openpyxl.Workbook()
        book.create_chartsheet()
        book.remove(book.active)
        charts = os.path.join(self.tmp.name, "charts.xlsx")
        book.save(charts)
        rc, _, stderr = A.run(["assess", text, "--database", self.db])
        self.assertEqual(rc, 1)
        self.assertTrue(stderr.startswith("Error reading file\n"), stderr)
        self.assertEqual(A.run(["assess", charts, "--database", self.db]), (1, "", "No sheets\n"))

    def test_missing_coc_rows_only_skip_the_uncertainty(self):
        db = self.database("three-coc.sqlite",
                           "DELETE FROM CoC WHERE SiteType = 'TDI' AND Coefficient = 2")
        rc, stdout, stderr, written = self.assess(rivers(), db=db)
        self.assertEqual((rc, written), (0, True), stderr)
        self.assertEqual(stderr, "Error retrieving confidence of class data, uncertainty estimates "
                                 "will not be calculated.\n"
                                 "(the table CoC holds 3 coefficients for 'TDI', not the 4 "
                                 "needed)\n")
        self.assertIn("Confidence of class parameters not found for TDI4, uncertainty estimates will "
                      "not be calculated.", stdout)

    def test_bad_usage_exits_2(self):
        for args, message in (
                (["assess"], None), (["assess", "x.xls", "--metric", "TDI5"], None),
                (["assess", "x.xls", "--first-col", "3A"], None), (["frobnicate"], None),
                (["assess", "x.xls", "--default-alk", "abc"], None),
                (["assess", "x.xls", "--default-ca", "150"],
                 "--default-ca: Please enter a number between 0 and 100.\n"),
                (["assess", "x.xls", "--default-doc", "x"], "--default-doc: Please enter a number.\n")):
            with self.subTest(args=args):
                rc, _, stderr = A.run(args)
                self.assertEqual(rc, 2)
                if message:
                    self.assertEqual(stderr, message)


if __name__ == "__main__":
    unittest.main()
