"""End to end for every metric: workbooks written by xlwt and openpyxl go through
`frusta2-cli assess`; the results workbook is read back with xlrd and openpyxl."""
import math
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402

WARNING_TAIL = ("Use View Data to identify unmatched taxa\n"
                "A list of these will be saved in the results file.\n")


def tdi4_expected(alk):
    return 9.933 * math.exp(0.81 * math.log10(alk))


def normal_cdf(x):
    return 0.5 * (1 + math.erf(x / math.sqrt(2)))


def site_coc(mean, n):
    """Confidence of class of a river site by the site model with c0 0.1, c1 0, c2 0, c3 1 and
    boundaries 0.8/0.6/0.4/0.2: (High, Good, Mod, Poor, Bad, RoM, HG, MPB, RoM-G/M)."""
    m = min(mean, 0.999)
    s = min(0.1 / math.sqrt(n) / ((1 - m) * m), 1.0)
    lm = math.log(m / (1 - m))
    p = [normal_cdf((math.log(b / (1 - b)) - lm) / s) for b in (0.8, 0.6, 0.4, 0.2)]
    high, good, mod, poor, bad = (100 * (1 - p[0]), 100 * (p[0] - p[1]), 100 * (p[1] - p[2]),
                                  100 * (p[2] - p[3]), 100 * p[3])
    k = next((i for i, b in enumerate((0.2, 0.4, 0.6, 0.8)) if m <= b), 4)
    rom = 100 - [bad, poor, mod, good, high][k]
    hg, mpb = high + good, mod + poor + bad
    return [high, good, mod, poor, bad, rom, hg, mpb, 100 - mpb if m <= 0.6 else 100 - hg]


def values(sheet, row, first, last):
    """The values of cells first..last of a row; None for an empty cell."""
    return [sheet.get((row, c), (None,))[0] for c in range(first, last + 1)]


class Assess(A.WithDatabase):
    def assess(self, rows, book, out, metric=None, writer=A.write_xlwt):
        """Runs the assessment; returns the exit status, both outputs and the results read back."""
        book, out = os.path.join(self.tmp.name, book), os.path.join(self.tmp.name, out)
        writer(book, rows)
        rc, stdout, stderr = A.run(["assess", book, "--database", self.db, "-o", out]
                                   + (["--metric", metric] if metric else []))
        kind, sheets = A.read_results(out) if os.path.exists(out) else (None, {})
        return rc, stdout, stderr, kind, sheets

    def unmatched_header(self, js):
        return next(r for (r, c), v in js.items() if c == 0 and v[0] == "Code")

    def test_tdi4_by_default_from_xls_to_xls(self):
        rc, stdout, stderr, kind, sheets = self.assess(A.river_rows(), "rivers.xls", "Results.xls")
        self.assertEqual((rc, stderr), (0, ""))
        self.assertEqual(stdout, (
            "File:\trivers.xls\nWorksheet:\tCounts\n\nMetric:\tTDI4\n\n"
            "Number of taxa:\t4\nNumber of samples:\t4"
            "\n\nAlkalinity data missing for 1 samples.\nMissing values have been replaced by 100 mg/l."
            "\n\n1 alkalinity values out of range for TDI4 calculations.\n"
            "These values have been set to 5 or 250 mg/l.\n"
            "\nWarning: 2 taxa lack TDI4 scores in database.\n" + WARNING_TAIL))
        self.assertEqual(kind, "xls")
        self.assertEqual(list(sheets), ["Job Summary", "Sample Summary", "Uncertainty TDI4"] + A.NEW_SHEETS)

        js = sheets["Job Summary"]
        self.assertEqual([js[(r, 0)][0] for r in (0, 1, 2, 5, 6)], [
            "File: rivers.xls", "Worksheet: Counts", "", "Number of taxa: 4", "Number of samples: 4"])
        # summary rows, one empty row, the message, one empty row, the table of unmatched taxa
        h = self.unmatched_header(js)
        self.assertTrue(js[(h - 4, 0)][0].startswith("A list of these"))
        self.assertEqual(js[(h - 2, 0)][0],
                         "The following taxa do not have TDI4 scores in the FRUSTA database.")
        self.assertEqual(values(js, h, 0, 6), ["Code", "Name", "N", "N2", "Max", "TDI3", "TDI4"])
        unscored = values(js, h + 1, 0, 6)
        self.assertEqual(unscored[:3] + unscored[4:], ["AA004", "Unscored", 2, 7, None, None])
        self.assertAlmostEqual(unscored[3], 1 / ((1 / 8) ** 2 + (7 / 8) ** 2))
        self.assertEqual(js[(h + 1, 3)][1], "0.00")
        self.assertEqual(values(js, h + 2, 0, 4), ["ZZ999", "Not in the list", 2, 2, 2])

        ss = sheets["Sample Summary"]
        self.assertEqual(values(ss, 0, 0, 16), [
            "Sample", "Site code", "Date", "Alkalinity (mg/l)", "Calcium (ueq/l)", "DOC (mg/l)",
            "Sample sum", "Sum TDI4", "TDI4", "eTDI4", "EQR TDI4", "Class TDI4", "% Planktic",
            "% Motile", "% Organic tolerant", "% Saline", "Comment TD14"])
        self.assertEqual(values(ss, 1, 0, 3), ["S1", "ST01", ("date", 40179.0), "10"])
        self.assertEqual(values(ss, 2, 0, 0) + values(ss, 3, 0, 0) + values(ss, 4, 0, 0),
                         ["S2", "S3", "S4"])
        self.assertEqual(ss[(3, 2)][0], 15)  # not a day number in the range: a plain number
        s1 = values(ss, 1, 6, 16)
        eqr1 = 0.8 * 50 / (100 - tdi4_expected(10))
        self.assertEqual(s1[:3] + [s1[5]], [23, 20, 50, "Moderate"])
        self.assertIn(s1[10], (None, ""))  # an empty comment
        self.assertAlmostEqual(s1[3], tdi4_expected(10))
        self.assertAlmostEqual(s1[4], eqr1)
        self.assertEqual(round(s1[4], 4), 0.515)
        self.assertAlmostEqual(s1[6], 11 / 23 * 100)
        self.assertAlmostEqual(s1[9], 1 / 23 * 100)
        self.assertEqual(ss[(1, 8)][1], "0.00")
        self.assertEqual(ss[(2, 11)][0], "Bad")
        self.assertEqual(values(ss, 3, 10, 11) + values(ss, 3, 16, 16),
                         [1, "High", "Alkalinity > 250, value set to 250 mg/l"])  # EQR capped
        # S4 has no scored taxa: empty cells.
        self.assertEqual(values(ss, 4, 6, 6) + values(ss, 4, 8, 11), [7, None, None, None, None])
        self.assertEqual(ss[(4, 16)][0],
                         "Missing Alkalinity, value set to 100 mg/lNo matching taxa found")

        us = sheets["Uncertainty TDI4"]
        self.assertEqual(values(us, 0, 0, 13), [
            "Site code", "No. Samples", "No. missing", "Mean EQR", "Class", "CoC High", "CoC Good",
            "CoC Mod", "CoC Poor", "CoC Bad", "RoM", "CoC HG", "CoC MPB", "RoM-G/M"])
        # ST01 and st01 are one site; the one-character site code is in none.
        self.assertEqual(values(us, 1, 0, 2) + values(us, 1, 4, 4) + values(us, 2, 0, 0)
                         + values(us, 2, 4, 4) + values(us, 3, 0, 0),
                         ["ST01", 2, 0, "Poor", "ST02", "High", None])
        self.assertAlmostEqual(us[(1, 3)][0], eqr1 / 2)
        for r, (mean, n) in ((1, (eqr1 / 2, 2)), (2, (1.0, 1))):
            for got, expected in zip(values(us, r, 5, 13), site_coc(mean, n)):
                self.assertAlmostEqual(got, expected, places=5)

    def test_tdi3_from_xlsx_to_upper_case_xls_gives_the_xml_format(self):
        rc, stdout, stderr, kind, sheets = self.assess(A.river_rows(), "rivers.xlsx", "out.XLS",
                                                       "TDI3", A.write_openpyxl)
        self.assertEqual(rc, 0, stderr)
        self.assertIn("\n\nSampling date missing for 1 samples.\n"
                      "Missing values will be set to Spring for TDI3 calculations.", stdout)
        self.assertIn("\n\n1 alkalinity values out of range for TDI3 calculations.\n"
                      "These values have been set to 6 or 150 mg/l.", stdout)
        self.assertEqual(kind, "xlsx")
        self.assertEqual(list(sheets)[2], "Uncertainty TDI3")
        ss = sheets["Sample Summary"]
        self.assertEqual(ss[(0, 16)][0], "Comment TDI3")
        # S1 sampled in January: spring, e = -25.36 + 56.83 L - 12.96 L^2 with L = 1; S2 in
        # August (day 40400): autumn adds 3.21.
        self.assertAlmostEqual(ss[(1, 9)][0], -25.36 + 56.83 - 12.96)
        self.assertAlmostEqual(ss[(2, 9)][0], -25.36 + 56.83 - 12.96 + 3.21)
        self.assertEqual(ss[(3, 16)][0], "Alkalinity > 150, value set to 150 mg/l; Missing or bad date")
        self.assertEqual(ss[(1, 2)][1], "mm-dd-yy")  # built-in date format 14
        self.assertEqual(ss[(1, 7)][1], "0.00")

    def test_ltdi2_from_xls_to_xlsx(self):
        rc, stdout, stderr, kind, sheets = self.assess(A.river_rows("lakes"), "lakes.xls",
                                                       "lakes.xlsx", "LTDI2")
        self.assertEqual(rc, 0, stderr)
        self.assertTrue(stdout.endswith("Number of samples:\t4\n\nWarning: 2 taxa lack LTDI2 scores "
                                        "in database.\n" + WARNING_TAIL), stdout)
        self.assertEqual(kind, "xlsx")
        self.assertEqual(list(sheets), ["Job Summary", "Sample Summary", "Uncertainty LTDI2"] + A.NEW_SHEETS)
        ss = sheets["Sample Summary"]
        self.assertEqual(ss[(0, 16)][0], "Comment LTD12")
        self.assertEqual(values(ss, 1, 9, 11), [20, 0.625, "Good"])
        self.assertEqual(ss[(2, 9)][0], 20)  # type "ha" matches HA
        self.assertEqual(values(ss, 3, 9, 9) + values(ss, 3, 11, 11), [30, "High"])
        self.assertEqual(ss[(4, 16)][0], "No matching taxa found")
        self.assertEqual(values(sheets["Uncertainty LTDI2"], 1, 3, 4), [0.3125, "Poor"])
        js = sheets["Job Summary"]
        self.assertEqual(values(js, self.unmatched_header(js), 5, 6), ["LTDI1", "LTDI2"])

    def test_lake_type_of_three_characters_stops_the_analysis(self):
        rows = A.river_rows("lakes")
        rows[3][2], rows[3][5] = "HAX", None
        rc, _, stderr, kind, _ = self.assess(rows, "bad-lakes.xlsx", "never.xlsx", "LTDI1",
                                                  A.write_openpyxl)
        self.assertEqual((rc, kind), (1, None))
        self.assertEqual(stderr, "Lake typology information missing for 2 samples with no default.\n"
                                 "Correct the error and try again.\n")

    def test_dam_from_xlsx_to_xls(self):
        rc, stdout, stderr, kind, sheets = self.assess(A.river_rows("dam"), "acid.xlsx", "acid.xls",
                                                       "DAM", A.write_openpyxl)
        self.assertEqual(rc, 0, stderr)
        self.assertIn("Number of samples:\t4\n\nConfidence of class parameters not found for DAM, "
                      "uncertainty estimates will not be calculated.\n\n2 calcium values out of "
                      "range.\nThese values have been set to 5 or 500 ueq/l.\n", stdout)
        self.assertEqual(kind, "xls")
        self.assertEqual(list(sheets), ["Job Summary", "Sample Summary"] + A.NEW_SHEETS)
        ss = sheets["Sample Summary"]
        self.assertEqual(values(ss, 0, 16, 16) + values(ss, 1, 11, 11), ["Comment DAM", "High"])
        self.assertAlmostEqual(ss[(1, 9)][0], 58.6)
        self.assertAlmostEqual(ss[(1, 10)][0], 50 / 58.6)
        self.assertEqual(values(ss, 3, 11, 11) + values(ss, 3, 16, 16), [
            "Bad", "Calcium > 500, value set to 500 ueq/lMissing DOC, value set to 1 mg/l"])
        self.assertEqual(ss[(4, 16)][0], "Missing Calcium, value set to 100 ueq/lNo matching taxa found")
        js = sheets["Job Summary"]
        self.assertNotIn((self.unmatched_header(js), 5), js)


if __name__ == "__main__":
    unittest.main()
