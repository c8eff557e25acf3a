"""End to end: river workbooks written by xlwt and openpyxl go through `frusta2-cli assess`;
the results workbook is read back with xlrd and openpyxl."""
import math
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402


def tdi4_expected(alk):
    return 9.933 * math.exp(0.81 * math.log10(alk))


def normal_cdf(x):
    return 0.5 * (1 + math.erf(x / math.sqrt(2)))


def site_coc(mean, n, lake=False):
    """Confidence of class by the site model with c0 0.1, c1 0, c2 0, c3 1 and boundaries
    0.8/0.6/0.4/0.2: (High, Good, Mod, Poor, Bad, RoM, HG, MPB, RoM-G/M)."""
    m = min(mean, 0.999)
    se = 0.1 / math.sqrt(n)
    s = min(se / ((1 - m) * m), 1.5 if lake else 1.0)
    lm = math.log(m / (1 - m))
    p = [normal_cdf((math.log(b / (1 - b)) - lm) / s) for b in (0.8, 0.6, 0.4, 0.2)]
    high, good, mod, poor, bad = (100 * (1 - p[0]), 100 * (p[0] - p[1]), 100 * (p[1] - p[2]),
                                  100 * (p[2] - p[3]), 100 * p[3])
    coc = [bad, poor, mod, good, high]
    k = next((i for i, b in enumerate((0.2, 0.4, 0.6, 0.8)) if m <= b), 4)
    rom = 100 - coc[k]
    hg, mpb = high + good, mod + poor + bad
    romgm = 100 - mpb if m <= 0.6 else 100 - hg
    return [high, good, mod, poor, bad, rom, hg, mpb, romgm]


class RiversTDI4(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = A.temp_dir()
        d = cls.tmp.name
        cls.db = os.path.join(d, "ref.sqlite")
        A.make_database(cls.db)
        cls.book = os.path.join(d, "rivers.xls")
        A.write_xlwt(cls.book, A.river_rows())
        cls.out = os.path.join(d, "Results.xls")
        cls.rc, cls.stdout, cls.stderr = A.run(
            ["assess", cls.book, "--database", cls.db, "-o", cls.out])
        cls.kind, cls.sheets = A.read_results(cls.out) if os.path.exists(cls.out) else (None, {})

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_exit_status_and_summary(self):
        self.assertEqual(self.rc, 0, self.stderr)
        self.assertEqual(self.stderr, "")
        expected = (
            "File:\trivers.xls\nWorksheet:\tCounts\n\nMetric:\tTDI4\n\n"
            "Number of taxa:\t4\nNumber of samples:\t4"
            "\n\nAlkalinity data missing for 1 samples.\nMissing values have been replaced by 100 mg/l."
            "\n\n1 alkalinity values out of range for TDI4 calculations.\n"
            "These values have been set to 5 or 250 mg/l.\n"
            "\nWarning: 2 taxa lack TDI4 scores in database.\nUse View Data to identify unmatched taxa"
            "\nA list of these will be saved in the results file.\n")
        self.assertEqual(self.stdout, expected)

    def test_binary_format_and_sheet_names(self):
        self.assertEqual(self.kind, "xls")
        self.assertEqual(list(self.sheets), ["Job Summary", "Sample Summary", "Uncertainty TDI4"])

    def test_job_summary_sheet(self):
        js = self.sheets["Job Summary"]
        self.assertEqual(js[(0, 0)][0], "File: rivers.xls")
        self.assertEqual(js[(1, 0)][0], "Worksheet: Counts")
        self.assertEqual(js[(2, 0)][0], "")
        self.assertEqual(js[(5, 0)][0], "Number of taxa: 4")
        self.assertEqual(js[(6, 0)][0], "Number of samples: 4")
        # summary rows, one empty row, the message, one empty row, the header
        last = max(r for (r, c) in js if c == 0 and js[(r, c)][0].startswith("A list of these"))
        self.assertEqual(js[(last + 2, 0)][0],
                         "The following taxa do not have TDI4 scores in the FRUSTA database.")
        header = [js[(last + 4, c)][0] for c in range(7)]
        self.assertEqual(header, ["Code", "Name", "N", "N2", "Max", "TDI3", "TDI4"])
        row1 = [js.get((last + 5, c), (None,))[0] for c in range(7)]
        self.assertEqual(row1[:3], ["AA004", "Unscored", 2])
        self.assertAlmostEqual(row1[3], 1 / ((1 / 8) ** 2 + (7 / 8) ** 2))
        self.assertEqual(row1[4], 7)
        self.assertEqual(js[(last + 5, 3)][1], "0.00")
        self.assertEqual(row1[5:], [None, None])
        row2 = [js.get((last + 6, c), (None,))[0] for c in range(5)]
        self.assertEqual(row2, ["ZZ999", "Not in the list", 2, 2, 2])

    def test_sample_summary_values(self):
        ss = self.sheets["Sample Summary"]
        labels = [ss[(0, c)][0] for c in range(17)]
        self.assertEqual(labels, [
            "Sample", "Site code", "Date", "Alkalinity (mg/l)", "Calcium (ueq/l)", "DOC (mg/l)",
            "Sample sum", "Sum TDI4", "TDI4", "eTDI4", "EQR TDI4", "Class TDI4", "% Planktic",
            "% Motile", "% Organic tolerant", "% Saline", "Comment TD14"])
        self.assertEqual([ss[(r, 0)][0] for r in range(1, 5)], ["S1", "S2", "S3", "S4"])
        self.assertEqual(ss[(1, 2)][0], ("date", 40179.0))
        self.assertEqual(ss[(3, 2)][0], 15)  # not a day number in the range: a plain number
        self.assertEqual(ss[(1, 3)][0], "10")
        s1 = [ss[(1, c)][0] for c in range(6, 16)]
        self.assertEqual(s1[:3], [23, 20, 50])
        self.assertAlmostEqual(s1[3], tdi4_expected(10))
        self.assertAlmostEqual(s1[4], 0.8 * 50 / (100 - tdi4_expected(10)))
        self.assertEqual(round(s1[4], 4), 0.515)
        self.assertEqual(s1[5], "Moderate")
        self.assertAlmostEqual(s1[6], 11 / 23 * 100)
        self.assertAlmostEqual(s1[9], 1 / 23 * 100)
        self.assertEqual(ss[(1, 8)][1], "0.00")
        self.assertEqual(ss[(2, 11)][0], "Bad")
        self.assertEqual(ss[(3, 10)][0], 1)  # capped
        self.assertEqual(ss[(3, 11)][0], "High")
        self.assertEqual(ss[(3, 16)][0], "Alkalinity > 250, value set to 250 mg/l")
        for c in (8, 9, 10, 11):  # S4 has no scored taxa: empty cells
            self.assertNotIn((4, c), ss)
        self.assertEqual(ss[(4, 6)][0], 7)
        self.assertEqual(ss[(4, 16)][0], "Missing Alkalinity, value set to 100 mg/lNo matching taxa found")
        self.assertEqual(ss.get((1, 16), ("",))[0], "")  # an empty comment

    def test_uncertainty_sheet(self):
        us = self.sheets["Uncertainty TDI4"]
        self.assertEqual([us[(0, c)][0] for c in range(14)], [
            "Site code", "No. Samples", "No. missing", "Mean EQR", "Class", "CoC High", "CoC Good",
            "CoC Mod", "CoC Poor", "CoC Bad", "RoM", "CoC HG", "CoC MPB", "RoM-G/M"])
        self.assertEqual(us[(1, 0)][0], "ST01")
        self.assertEqual(us[(2, 0)][0], "ST02")
        self.assertNotIn((3, 0), us)  # the one-character site code is in no site
        mean = (0.8 * 50 / (100 - tdi4_expected(10)) + 0) / 2
        self.assertEqual(us[(1, 1)][0], 2)
        self.assertEqual(us[(1, 2)][0], 0)
        self.assertAlmostEqual(us[(1, 3)][0], mean)
        self.assertEqual(us[(1, 4)][0], "Poor")
        for i, v in enumerate(site_coc(mean, 2)):
            self.assertAlmostEqual(us[(1, 5 + i)][0], v, places=5)
        self.assertEqual(us[(2, 4)][0], "High")
        for i, v in enumerate(site_coc(1.0, 1)):
            self.assertAlmostEqual(us[(2, 5 + i)][0], v, places=5)


class RiversTDI3Xlsx(unittest.TestCase):
    def test_tdi3_from_openpyxl_to_xlsx(self):
        with A.temp_dir() as d:
            db = os.path.join(d, "ref.sqlite")
            A.make_database(db)
            book = os.path.join(d, "rivers.xlsx")
            A.write_openpyxl(book, A.river_rows())
            out = os.path.join(d, "out.XLS")  # upper-case extension: the XML format
            rc, stdout, stderr = A.run(["assess", book, "--database", db, "--metric", "TDI3", "-o", out])
            self.assertEqual(rc, 0, stderr)
            self.assertIn("\n\nSampling date missing for 1 samples.\n"
                          "Missing values will be set to Spring for TDI3 calculations.", stdout)
            self.assertIn("\n\n1 alkalinity values out of range for TDI3 calculations.\n"
                          "These values have been set to 6 or 150 mg/l.", stdout)
            kind, sheets = A.read_results(out)
            self.assertEqual(kind, "xlsx")
            ss = sheets["Sample Summary"]
            self.assertEqual(ss[(0, 16)][0], "Comment TDI3")
            # S1 sampled in January: spring. e = -25.36 + 56.83 L - 12.96 L^2 with L = 1
            self.assertAlmostEqual(ss[(1, 9)][0], -25.36 + 56.83 - 12.96)
            # S2 sampled in August (day 40400): autumn adds 3.21
            self.assertAlmostEqual(ss[(2, 9)][0], -25.36 + 56.83 - 12.96 + 3.21)
            self.assertEqual(ss[(3, 16)][0],
                             "Alkalinity > 150, value set to 150 mg/l; Missing or bad date")
            self.assertEqual(ss[(1, 2)][1], "mm-dd-yy")  # built-in date format 14
            self.assertEqual(ss[(1, 7)][1], "0.00")
            self.assertEqual(list(sheets)[2], "Uncertainty TDI3")


if __name__ == "__main__":
    unittest.main()
