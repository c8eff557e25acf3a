"""The example dataset saved as OpenDocument (.ods, .fods, by LibreOffice) and as CSV or TSV
(one file per worksheet, as scripts and Excel write them) is assessed into the same results
workbook as the .xls, cell for cell; the notes on how a text file was read, the batch run and
the commands that show a workbook take the new files too."""
import os
import unittest

import assesslib as A

EXAMPLE = os.path.join(A.PROGRAM_DIR, "TestData", "FRUSTA2TestData.xls")
FORMATS = os.environ.get("FRUSTA_EXAMPLE_FORMATS_DIR",
                         os.path.join(A.PROGRAM_DIR, "..", "tests", "example-formats"))
RUNS = [("Rivers", "TDI4"), ("Rivers", "TDI3"), ("Lakes", "LTDI2"), ("Acidification", "DAM")]
WINDOWS_1252 = ("Note: the file is not UTF-8 text; it was read as Windows-1252 (Western "
                "European)\n")


def saved_as(sheet):
    """The files that hold the worksheet, with the name the job summary gives the file."""
    return [(os.path.join(FORMATS, "FRUSTA2TestData.ods"), "FRUSTA2TestData.ods"),
            (os.path.join(FORMATS, "FRUSTA2TestData.fods"), "FRUSTA2TestData.fods"),
            (os.path.join(FORMATS, "csv", sheet + ".csv"), sheet + ".csv"),
            (os.path.join(FORMATS, "semicolon", sheet + ".csv"), sheet + ".csv"),
            (os.path.join(FORMATS, "tsv", sheet + ".tsv"), sheet + ".tsv")]


def results(path, file_name):
    """The results workbook's cells, with the file's name in the job summary made neutral."""
    _, sheets = A.read_results(path)
    summary = sheets["Job Summary"]
    for key, (value, fmt) in summary.items():
        if isinstance(value, str) and file_name in value:
            summary[key] = (value.replace(file_name, "WORKBOOK"), fmt)
    return A.without_run_details(sheets, (A.RUN_TIME,) + A.INPUT_DETAILS)


class OpenFormats(unittest.TestCase):
    def test_every_format_gives_the_results_of_the_xls(self):
        for sheet, metric in RUNS:
            with A.temp_dir() as d:
                want = os.path.join(d, "xls.xlsx")
                rc, _, stderr = A.run(["assess", EXAMPLE, "--sheet", sheet, "--metric", metric,
                                       "-o", want])
                self.assertEqual(rc, 0, stderr)
                expected = results(want, "FRUSTA2TestData.xls")
                for path, name in saved_as(sheet):
                    with self.subTest(sheet=sheet, metric=metric, file=path):
                        out = os.path.join(d, "out.xlsx")
                        rc, stdout, stderr = A.run(["assess", path, "--sheet", sheet, "--metric",
                                                    metric, "-o", out])
                        self.assertEqual((rc, stderr), (0, ""))
                        self.assertTrue(stdout.startswith("File:\t%s\nWorksheet:\t%s\n"
                                                          % (name, sheet)), stdout)
                        self.assertEqual(results(out, name), expected)

    def test_dates_that_libreoffice_writes_are_warned_about(self):
        path = os.path.join(FORMATS, "libreoffice", "FRUSTA2TestData-Rivers.csv")
        with open(path, encoding="utf-8") as f:
            self.assertIn(",01/30/2009,", f.read())
        rc, stdout, stderr = A.run(["assess", path])
        self.assertEqual(rc, 0, stderr)
        self.assertTrue(stderr.startswith(
            "The sampling dates of 24 samples are written as 01/30/2009 (row 3, column C) and the "
            "like, which may be day/month or month/day; they are read as missing dates.\n"
            "Write dates in CSV files as year-month-day, for example 2009-01-30.\n"), stderr)
        self.assertIn("Worksheet:\tFRUSTA2TestData-Rivers\n", stdout)

    def test_text_that_is_not_utf8_is_read_as_windows_1252_and_said_so(self):
        with A.temp_dir() as d:
            path = os.path.join(d, "Br\u00e8ves.csv")
            with open(os.path.join(FORMATS, "csv", "Rivers.csv"), encoding="utf-8") as f:
                text = f.read().replace("Taxon", "Tax\u00f3n").replace("Sample name",
                                                                        "\u00c9chantillon")
            with open(path, "w", encoding="cp1252", newline="") as f:
                f.write(text)
            rc, stdout, stderr = A.run(["sheets", path])
            self.assertEqual((rc, stdout), (0, "Br\u00e8ves\n"))
            self.assertEqual(stderr, "frusta2-cli: '%s': the file is not UTF-8 text; it was read "
                                     "as Windows-1252 (Western European)\n" % path)
            rc, stdout, _ = A.run(["dump", path])
            self.assertIn("0\t0\ttext\t\u00c9chantillon\n", stdout)
            rc, stdout, stderr = A.run(["assess", path, "-o", os.path.join(d, "r.xlsx")])
            self.assertEqual((rc, stderr), (0, WINDOWS_1252))
            self.assertIn("Worksheet:\tBr\u00e8ves\n", stdout)

    def test_a_batch_of_formats_into_one_folder(self):
        with A.temp_dir() as d:
            books = [os.path.join(FORMATS, "FRUSTA2TestData.ods"),
                     os.path.join(FORMATS, "csv", "Lakes.csv"),
                     os.path.join(FORMATS, "tsv", "Rivers.tsv")]
            out = os.path.join(d, "results")
            rc, stdout, stderr = A.run(["assess"] + books + ["--out-dir", out, "--sheet", "Rivers"])
            self.assertEqual(rc, 1, stderr)
            self.assertEqual(stdout.split("\n"), [
                books[0] + "\t24\t8\tdone",
                books[1] + "\t0\t0\tfailed: No worksheet named \"Rivers\" in this workbook.",
                books[2] + "\t24\t8\tdone", ""])
            self.assertEqual(sorted(os.listdir(out)), ["FRUSTA2TestData-results.xlsx",
                                                       "Rivers-results.xlsx"])
            # Two files of one name write the same results file: refused before anything runs.
            rc, _, stderr = A.run(["assess", books[2], os.path.join(FORMATS, "tsv", "..", "csv",
                                                                     "Rivers.csv"),
                                   "--out-dir", out])
            self.assertEqual(rc, 2)
            self.assertIn("Rivers-results.xlsx", stderr)

    def test_sheets_and_dump_show_the_new_files(self):
        for path in (os.path.join(FORMATS, "FRUSTA2TestData.ods"),
                     os.path.join(FORMATS, "FRUSTA2TestData.fods")):
            rc, stdout, _ = A.run(["sheets", path])
            self.assertEqual((rc, stdout), (0, "Rivers\nLakes\nAcidification\n"))
        _, xls, _ = A.run(["dump", EXAMPLE, "--sheet", "Lakes"])
        xls = "".join(line for line in xls.splitlines(True) if "\tblank\t" not in line)
        for path in (os.path.join(FORMATS, "FRUSTA2TestData.fods"),
                     os.path.join(FORMATS, "semicolon", "Lakes.csv")):
            rc, stdout, stderr = A.run(["dump", path, "--sheet", "Lakes"])
            self.assertEqual((rc, stderr), (0, ""))
            self.assertEqual(stdout, xls, path)
        rc, _, stderr = A.run(["sheets", os.path.join(A.PROGRAM_DIR, "frusta2-cli")])
        self.assertEqual(rc, 1)
        self.assertIn("the file is neither a workbook (.xls, .xlsx, .ods, .fods) nor CSV or TSV "
                      "text", stderr)

    def test_help_names_the_formats(self):
        for args in (["--help"], ["assess", "--help"]):
            _, stdout, _ = A.run(args)
            for ext in (".ods", ".fods", ".csv", ".tsv", "2009-01-30"):
                self.assertIn(ext, stdout)


if __name__ == "__main__":
    unittest.main()
