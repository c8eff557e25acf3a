"""Every failure of the sample workbook reader, provoked by a workbook written by openpyxl or
xlwt, shows its exact message on standard error and ends with exit status 1."""
import os
import sqlite3
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402


class ReaderMessages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = A.temp_dir()
        cls.db = os.path.join(cls.tmp.name, "ref.sqlite")
        A.make_database(cls.db)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def assess(self, rows, extra=(), writer=A.write_openpyxl, name="book.xlsx", db=None):
        path = os.path.join(self.tmp.name, name)
        writer(path, rows)
        out = os.path.join(self.tmp.name, "out.xlsx")
        if os.path.exists(out):
            os.remove(out)
        rc, stdout, stderr = A.run(["assess", path, "--database", db or self.db, "-o", out] + list(extra))
        return rc, stdout, stderr, os.path.exists(out)

    def expect_failure(self, message, rows, extra=(), **kw):
        rc, stdout, stderr, written = self.assess(rows, extra, **kw)
        self.assertEqual(rc, 1, stderr)
        self.assertEqual(stderr, message + "\n")
        self.assertEqual(stdout, "")
        self.assertFalse(written)

    def test_unreadable_file(self):
        path = os.path.join(self.tmp.name, "not-a-workbook.xls")
        with open(path, "w") as f:
            f.write("plain text, not a workbook\n")
        rc, stdout, stderr = A.run(["assess", path, "--database", self.db])
        self.assertEqual(rc, 1)
        self.assertTrue(stderr.startswith("Error reading file\n"), stderr)

    def test_no_sheets(self):
        import openpyxl
        book = openpyxl.Workbook()
        book.create_chartsheet()
        book.remove(book.active)
        path = os.path.join(self.tmp.name, "charts.xlsx")
        book.save(path)
        rc, stdout, stderr = A.run(["assess", path, "--database", self.db])
        self.assertEqual((rc, stderr), (1, "No sheets\n"))

    def test_worksheet_without_data(self):
        self.expect_failure("Worksheet has no data, try again", [["only one cell"]])

    def test_no_sample_names(self):
        self.expect_failure("No entries found in Sample Name row", A.river_rows(), ["--first-col", "H"])

    def test_no_taxon_codes(self):
        self.expect_failure("No entries found in Taxon Code column", A.river_rows(), ["--first-row", "11"])

    def test_insufficient_information_rows(self):
        rows = A.river_rows()
        self.expect_failure("Insufficient data to calculate EQR.\nSampling date and alkalinity must be "
                            "in rows 3 and 4.", rows, ["--first-row", "4"])
        self.expect_failure("Insufficient data to calculate EQR.\nSampling date and lake type must be "
                            "in rows 3 and 4.", rows, ["--first-row", "3", "--metric", "LTDI2"])
        self.expect_failure("Insufficient data to calculate EQR.\nSampling date, calcium and DOC values "
                            "must be in rows 3, 5 and 6.", rows, ["--first-row", "6", "--metric", "DAM"])

    def test_labels(self):
        rows = A.river_rows()
        rows[3][0] = "Alk"
        self.expect_failure("Error: Alkalinity values must be in row 4 for TDI3 or TDI4 calculations.",
                            rows, writer=A.write_xlwt, name="book.xls")
        self.expect_failure("Error: Lake Type must be in row 4 for LTDI1 or LTDI2 calculations.",
                            rows, ["--metric", "LTDI1"])
        rows = A.river_rows()
        rows[4][0] = "Ca"
        self.expect_failure("Error: Calcium values must be in row 5 for DAM calculations.", rows,
                            ["--metric", "DAM"])
        rows = A.river_rows()
        rows[5][0] = "Organic carbon"
        self.expect_failure("Error: DOC values must be in row 6 for DAM calculations.", rows,
                            ["--metric", "DAM"])

    def test_indeterminate_counts(self):
        rows = A.river_rows()
        rows[7][3] = "<1"
        self.expect_failure("Error: indeterminate data in row 8, col 4", rows)
        rows = A.river_rows()
        rows[8][4] = True
        self.expect_failure("Error: indeterminate data in row 9, col 5", rows, writer=A.write_xlwt,
                            name="book.xls")

    def test_missing_boundaries(self):
        db = os.path.join(self.tmp.name, "no-boundaries.sqlite")
        A.make_database(db)
        con = sqlite3.connect(db)
        con.execute("DROP TABLE Boundaries")
        con.commit()
        con.close()
        self.expect_failure("Error opening boundary database\nError retrieving boundary data",
                            A.river_rows(), db=db)

    def test_missing_coc_rows_only_skip_the_uncertainty(self):
        db = os.path.join(self.tmp.name, "three-coc.sqlite")
        A.make_database(db)
        con = sqlite3.connect(db)
        con.execute("DELETE FROM CoC WHERE SiteType = 'TDI' AND Coefficient = 2")
        con.commit()
        con.close()
        rc, stdout, stderr, written = self.assess(A.river_rows(), db=db)
        self.assertEqual(rc, 0, stderr)
        self.assertEqual(stderr, "Error retrieving confidence of class data, uncertainty estimates will "
                                 "not be calculated.\n")
        self.assertIn("Confidence of class parameters not found for TDI4, uncertainty estimates will "
                      "not be calculated.", stdout)
        self.assertTrue(written)

    def test_cancelled_choice_of_a_missing_worksheet(self):
        rc, stdout, stderr, written = self.assess(A.river_rows(), ["--sheet", "Nope"])
        self.assertEqual(rc, 1)
        self.assertFalse(written)


class Usage(unittest.TestCase):
    def test_bad_usage_exits_2(self):
        for args in (["assess"], ["assess", "x.xls", "--metric", "TDI5"],
                     ["assess", "x.xls", "--default-ca", "150"], ["assess", "x.xls", "--first-col", "3A"],
                     ["assess", "x.xls", "--default-alk", "abc"], ["frobnicate"]):
            rc, stdout, stderr = A.run(args)
            self.assertEqual(rc, 2, args)
        rc, _, stderr = A.run(["assess", "x.xls", "--default-ca", "150"])
        self.assertEqual(stderr, "--default-ca: Please enter a number between 0 and 100.\n")
        rc, _, stderr = A.run(["assess", "x.xls", "--default-doc", "x"])
        self.assertEqual(stderr, "--default-doc: Please enter a number.\n")


if __name__ == "__main__":
    unittest.main()
