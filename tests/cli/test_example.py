"""The main job: the bundled example assessed with the bundled reference database, for each
worksheet and metric, and the results workbook opened by LibreOffice."""
import csv
import json
import os
import shutil
import subprocess
import unittest

import assesslib as A

EXAMPLE = os.path.join(A.PROGRAM_DIR, "TestData", "FRUSTA2TestData.xls")

RUNS = [  # worksheet, metric, samples, whether a confidence-of-class sheet is written
    ("Rivers", "TDI4", 24, True),
    ("Rivers", "TDI3", 24, True),
    ("Lakes", "LTDI2", 18, True),
    ("Lakes", "LTDI1", 18, True),
    ("Acidification", "DAM", 15, False),
]


class Example(unittest.TestCase):
    def test_worksheets(self):
        rc, stdout, _ = A.run(["sheets", EXAMPLE])
        self.assertEqual(rc, 0)
        self.assertEqual(stdout.split("\n")[:3], ["Rivers", "Lakes", "Acidification"])

    def test_every_family(self):
        for sheet, metric, samples, coc in RUNS:
            with self.subTest(metric=metric), A.temp_dir() as d:
                out = os.path.join(d, "results.xls")
                rc, stdout, stderr = A.run(["assess", EXAMPLE, "--sheet", sheet, "--metric", metric,
                                            "-o", out])
                self.assertEqual(rc, 0, stderr)
                self.assertEqual(stderr, "")
                self.assertIn("Metric:\t%s\n\nNumber of taxa:\t48\nNumber of samples:\t%d"
                              % (metric, samples), stdout)
                _, sheets = A.read_results(out)
                names = (["Job Summary", "Sample Summary"] + (["Uncertainty " + metric] if coc else [])
                         + A.NEW_SHEETS)
                self.assertEqual(list(sheets), names)
                ss = sheets["Sample Summary"]
                classes = {ss[(s, c)][0] for (s, c) in ss if s > 0 and ss[(0, c)][0].startswith("Class")}
                self.assertTrue(classes)
                self.assertLessEqual(classes, {"High", "Good", "Moderate", "Poor", "Bad"})

    def test_a_negative_expected_dam_gives_no_eqr_in_any_output(self):
        # Sample A03-3 has DOC 60, clamped to 50: its expected DAM is -37.698. It keeps that
        # value, has no EQR and no class, and its comment says why, in the .xls and .xlsx
        # workbooks (read by xlrd and openpyxl), the CSV file and the JSON document alike.
        note = "DOC > 50, value set to 50 mg/l; No EQR: expected value -37.698 is below 0"
        args = ["assess", EXAMPLE, "--sheet", "Acidification", "--metric", "DAM"]
        with A.temp_dir() as d:
            for ext in ("xls", "xlsx"):
                out = os.path.join(d, "results." + ext)
                rc, _, stderr = A.run(args + ["-o", out])
                self.assertEqual(rc, 0, stderr)
                ss = A.read_results(out)[1]["Sample Summary"]
                head = {ss[(0, c)][0]: c for (r, c) in ss if r == 0}
                row = next(r for (r, c) in ss if c == 0 and ss[(r, c)][0] == "A03-3")
                self.assertAlmostEqual(ss[(row, head["eDAM"])][0], -37.698, places=3)
                self.assertNotIn((row, head["EQR DAM"]), ss)
                self.assertNotIn((row, head["Class DAM"]), ss)
                self.assertEqual(ss[(row, head["Comment DAM"])][0], note)
            rc, _, stderr = A.run(args + ["-o", os.path.join(d, "results.csv")])
            self.assertEqual(rc, 0, stderr)
            with open(os.path.join(d, "results-samples.csv"), newline="") as f:
                rows = {r["Sample name"]: r for r in csv.DictReader(f)}
            self.assertAlmostEqual(float(rows["A03-3"]["eDAM"]), -37.698, places=3)
            self.assertEqual((rows["A03-3"]["EQR DAM"], rows["A03-3"]["Class DAM"]), ("", ""))
            self.assertEqual(rows["A03-3"]["Comment DAM"], note)
        rc, stdout, stderr = A.run(args + ["-o", "-", "--format", "json"])
        self.assertEqual(rc, 0, stderr)
        sample = next(s for s in json.loads(stdout)["samples"]
                      if s["info"]["Sample name"] == "A03-3")
        self.assertAlmostEqual(sample["results"]["eDAM"], -37.698, places=3)
        self.assertIsNone(sample["results"]["EQR DAM"])
        self.assertIsNone(sample["class"])
        self.assertEqual(sample["comment"], note)

    @unittest.skipUnless(shutil.which("soffice"), "LibreOffice is not installed")
    def test_libreoffice_opens_the_results(self):
        with A.temp_dir() as d:
            out = os.path.join(d, "FRUSTA2TestResults.xlsx")
            rc, _, stderr = A.run(["assess", EXAMPLE, "-o", out])
            self.assertEqual(rc, 0, stderr)
            subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(d, "lo"),
                            "--headless", "--convert-to", "csv", "--outdir", d, out],
                           check=True, capture_output=True, timeout=300)
            with open(os.path.join(d, "FRUSTA2TestResults.csv"), newline="") as f:
                rows = list(csv.reader(f))
            self.assertEqual(rows[0][0], "File: FRUSTA2TestData.xls")
            self.assertEqual(rows[5][0], "Number of taxa: 48")


if __name__ == "__main__":
    unittest.main()
