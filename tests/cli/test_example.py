"""The main job: the bundled example assessed with the bundled reference database, for each
worksheet and metric, and the results workbook opened by LibreOffice."""
import csv
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
                names = ["Job Summary", "Sample Summary"] + (["Uncertainty " + metric] if coc else [])
                self.assertEqual(list(sheets), names)
                ss = sheets["Sample Summary"]
                classes = {ss[(s, c)][0] for (s, c) in ss if s > 0 and ss[(0, c)][0].startswith("Class")}
                self.assertTrue(classes)
                self.assertLessEqual(classes, {"High", "Good", "Moderate", "Poor", "Bad"})

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
