"""End to end for lakes (LTDI2, LTDI1) and acidification (DAM)."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402


class Lakes(unittest.TestCase):
    def test_ltdi2_xls_to_xlsx(self):
        with A.temp_dir() as d:
            db = os.path.join(d, "ref.sqlite")
            A.make_database(db)
            book = os.path.join(d, "lakes.xls")
            A.write_xlwt(book, A.river_rows("lakes"))
            out = os.path.join(d, "lakes-results.xlsx")
            rc, stdout, stderr = A.run(["assess", book, "--database", db, "--metric", "LTDI2", "-o", out])
            self.assertEqual(rc, 0, stderr)
            self.assertTrue(stdout.endswith(
                "Number of samples:\t4\n\nWarning: 2 taxa lack LTDI2 scores in database.\n"
                "Use View Data to identify unmatched taxa\nA list of these will be saved in the "
                "results file.\n"), stdout)
            kind, sheets = A.read_results(out)
            self.assertEqual(kind, "xlsx")
            self.assertEqual(list(sheets), ["Job Summary", "Sample Summary", "Uncertainty LTDI2"])
            ss = sheets["Sample Summary"]
            self.assertEqual(ss[(0, 16)][0], "Comment LTD12")
            self.assertEqual(ss[(1, 9)][0], 20)
            self.assertEqual(ss[(1, 10)][0], 0.625)
            self.assertEqual(ss[(1, 11)][0], "Good")
            self.assertEqual(ss[(2, 9)][0], 20)  # type "ha" matches HA
            self.assertEqual(ss[(3, 9)][0], 30)
            self.assertEqual(ss[(3, 11)][0], "High")
            self.assertEqual(ss[(4, 16)][0], "No matching taxa found")
            us = sheets["Uncertainty LTDI2"]
            self.assertEqual(us[(1, 3)][0], 0.3125)
            self.assertEqual(us[(1, 4)][0], "Poor")
            js = sheets["Job Summary"]
            header_row = next(r for (r, c), v in js.items() if c == 0 and v[0] == "Code")
            self.assertEqual([js[(header_row, c)][0] for c in range(5, 7)], ["LTDI1", "LTDI2"])

    def test_lake_type_of_three_characters_stops_the_analysis(self):
        with A.temp_dir() as d:
            db = os.path.join(d, "ref.sqlite")
            A.make_database(db)
            rows = A.river_rows("lakes")
            rows[3][2] = "HAX"
            rows[3][5] = None
            book = os.path.join(d, "lakes.xlsx")
            A.write_openpyxl(book, rows)
            out = os.path.join(d, "never.xlsx")
            rc, stdout, stderr = A.run(["assess", book, "--database", db, "--metric", "LTDI1", "-o", out])
            self.assertEqual(rc, 1)
            self.assertEqual(stderr, "Lake typology information missing for 2 samples with no default.\n"
                                     "Correct the error and try again.\n")
            self.assertFalse(os.path.exists(out))


class Acidification(unittest.TestCase):
    def test_dam(self):
        with A.temp_dir() as d:
            db = os.path.join(d, "ref.sqlite")
            A.make_database(db)
            book = os.path.join(d, "acid.xlsx")
            A.write_openpyxl(book, A.river_rows("dam"))
            out = os.path.join(d, "acid.xls")
            rc, stdout, stderr = A.run(["assess", book, "--database", db, "--metric", "DAM", "-o", out])
            self.assertEqual(rc, 0, stderr)
            self.assertIn("Number of samples:\t4\n\nConfidence of class parameters not found for DAM, "
                          "uncertainty estimates will not be calculated.\n\n2 calcium values out of "
                          "range.\nThese values have been set to 5 or 500 ueq/l.\n", stdout)
            kind, sheets = A.read_results(out)
            self.assertEqual(kind, "xls")
            self.assertEqual(list(sheets), ["Job Summary", "Sample Summary"])
            ss = sheets["Sample Summary"]
            self.assertEqual(ss[(0, 16)][0], "Comment DAM")
            self.assertAlmostEqual(ss[(1, 9)][0], 58.6)
            self.assertAlmostEqual(ss[(1, 10)][0], 50 / 58.6)
            self.assertEqual(ss[(1, 11)][0], "High")
            self.assertEqual(ss[(3, 16)][0],
                             "Calcium > 500, value set to 500 ueq/lMissing DOC, value set to 1 mg/l")
            self.assertEqual(ss[(3, 11)][0], "Bad")
            self.assertEqual(ss[(4, 16)][0],
                             "Missing Calcium, value set to 100 ueq/lNo matching taxa found")
            js = sheets["Job Summary"]
            header_row = next(r for (r, c), v in js.items() if c == 0 and v[0] == "Code")
            self.assertNotIn((header_row, 5), js)


if __name__ == "__main__":
    unittest.main()
