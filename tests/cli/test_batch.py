"""Many workbooks in one `assess`, and the CSV and JSON results: a failing workbook never stops
the others, name clashes are refused before anything is written, and CSV and JSON read back
by Python's csv and json modules hold the results workbook's values at full precision."""
import csv
import datetime
import json
import math
import os
import pty
import select
import shutil
import sqlite3
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402

DAY0 = datetime.datetime(1899, 12, 30)


def plain(value):
    """A workbook cell value as the CSV and JSON hold it: dates as day numbers."""
    if isinstance(value, datetime.datetime):
        return (value - DAY0).days
    if isinstance(value, tuple):  # ("date", day number) from xlrd
        return value[1]
    return value


def csv_rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f))


def csv_value(field, like):
    """A CSV field read as the type of the workbook's cell: number, text or empty (None)."""
    if field == "":
        return like if like in (None, "") else field
    return float(field) if isinstance(like, (int, float)) else field


def sheet_rows(sheet, first_row=0, width=None):
    """The rows of a sheet read by assesslib.read_results as lists of values (None = empty)."""
    last_row = max(r for r, _ in sheet)
    width = width or max(c for _, c in sheet) + 1
    return [[plain(sheet.get((r, c), (None,))[0]) for c in range(width)]
            for r in range(first_row, last_row + 1)]


class Batch(A.WithDatabase):
    def folder(self, name):
        path = os.path.join(self.tmp.name, name)
        os.makedirs(path)
        return path

    def run_cli(self, args, cwd):
        return A.run(["assess"] + args + ["--database", self.db], cwd=cwd)

    def test_three_workbooks_one_broken(self):
        d = self.folder("three")
        A.write_xlwt(os.path.join(d, "north.xls"), A.river_rows())
        with open(os.path.join(d, "broken.xlsx"), "wb") as f:
            f.write(b"PK\x03\x04 not really a workbook")
        A.write_openpyxl(os.path.join(d, "south.xlsx"), A.river_rows())
        rc, stdout, stderr = self.run_cli(["north.xls", "broken.xlsx", "south.xlsx",
                                           "--out-dir", "results"], d)
        self.assertEqual(rc, 1)
        lines = stdout.splitlines()
        self.assertEqual(lines[0], "north.xls\t4\t2\tdone")
        self.assertTrue(lines[1].startswith("broken.xlsx\t0\t0\tfailed: Error reading file ("), lines[1])
        self.assertEqual(lines[2], "south.xlsx\t4\t2\tdone")
        self.assertEqual(len(lines), 3)
        self.assertIn("broken.xlsx: Error reading file\n", stderr)
        self.assertEqual(sorted(os.listdir(os.path.join(d, "results"))),
                         ["north-results.xlsx", "south-results.xlsx"])
        _, sheets = A.read_results(os.path.join(d, "results", "south-results.xlsx"))
        self.assertEqual(list(sheets), ["Job Summary", "Sample Summary", "Uncertainty TDI4"] + A.NEW_SHEETS)

    def test_all_done_exits_0_and_analysis_failures_give_their_messages(self):
        d = self.folder("reasons")
        lakes = A.river_rows("lakes")
        lakes[3][2], lakes[3][5] = "HAX", None
        A.write_openpyxl(os.path.join(d, "lakes.xlsx"), lakes)
        A.write_openpyxl(os.path.join(d, "ok.xlsx"), A.river_rows("lakes"))
        rc, stdout, stderr = self.run_cli(["ok.xlsx", "--out-dir", ".", "--metric", "LTDI1"], d)
        self.assertEqual((rc, stdout), (0, "ok.xlsx\t4\t2\tdone\n"), stderr)
        rc, stdout, _ = self.run_cli(["lakes.xlsx", "ok.xlsx", "--out-dir", ".",
                                      "--metric", "LTDI1", "--format", "json"], d)
        self.assertEqual(rc, 1)
        self.assertEqual(stdout.splitlines()[0],
                         "lakes.xlsx\t4\t0\tfailed: Lake typology information missing for 2 "
                         "samples with no default. Correct the error and try again.")
        self.assertFalse(os.path.exists(os.path.join(d, "lakes-results.json")))
        self.assertTrue(os.path.exists(os.path.join(d, "ok-results.json")))
        # A failure shown as a chain of messages gives them all; a worksheet that the options
        # cannot choose gives the option's refusal.
        no_boundaries = os.path.join(d, "no-boundaries.sqlite")
        A.make_database(no_boundaries)
        with sqlite3.connect(no_boundaries) as con:
            con.execute("DROP TABLE Boundaries")
        for extra, reason in (
                (["--database", no_boundaries],
                 "Error opening boundary database Error retrieving boundary data (Cannot find "
                 "the input table or query 'Boundaries'.  Make sure it exists and that its name "
                 "is spelled correctly.)"),
                (["--database", self.db, "--sheet", "Nope"],
                 'No worksheet named "Nope" in this workbook.')):
            rc, stdout, _ = A.run(["assess", "ok.xlsx", "--out-dir", ".", "--metric", "LTDI1"] + extra,
                                  cwd=d)
            self.assertEqual((rc, stdout), (1, "ok.xlsx\t0\t0\tfailed: " + reason + "\n"))
        rc, stdout, stderr = self.run_cli(["ok.xlsx", "--out-dir", "ok-results.json"], d)
        self.assertEqual((rc, stdout), (1, ""))
        self.assertTrue(stderr.startswith("frusta2-cli assess: cannot make the folder "
                                          "ok-results.json: "), stderr)

    def test_name_clashes_are_refused_before_anything_is_written(self):
        d = self.folder("clash")
        os.makedirs(os.path.join(d, "sub"))
        for name in ("A.xls", "sub/A.xlsx", "B.xlsx", "B-results.xlsx"):
            A.write_openpyxl(os.path.join(d, name), A.river_rows())
        cases = [
            (["A.xls", "sub/A.xlsx", "--out-dir", "out"],
             "frusta2-cli assess: A.xls and sub/A.xlsx would both write out/A-results.xlsx; "
             "rename one of them; nothing was written\n"),
            (["A.xls", "A.xls", "--out-dir", "out", "--format", "csv"],
             "frusta2-cli assess: A.xls and A.xls would both write out/A-results-samples.csv; "
             "rename one of them; nothing was written\n"),
            (["A.xls", "B.xlsx", "sub/../B-results.xlsx", "--out-dir", "."],
             "frusta2-cli assess: the results of B.xlsx would overwrite the workbook "
             "sub/../B-results.xlsx; nothing was written\n"),
            (["B.xlsx", "-o", "./B.xlsx"],
             "frusta2-cli assess: the results of B.xlsx would overwrite the workbook B.xlsx; "
             "nothing was written\n"),
            (["A.xls", "B.xlsx"],
             "frusta2-cli assess: several workbooks need --out-dir DIR for their results\n"),
            (["A.xls", "-o", "r.xlsx", "--out-dir", "out"],
             "frusta2-cli assess: give either -o (one workbook) or --out-dir (any number)\n"),
            (["A.xls", "-o", "-", "--format", "xlsx"],
             "frusta2-cli assess: -o - writes csv or json, not a workbook\n"),
        ]
        before = sorted(os.listdir(d))
        for args, message in cases:
            with self.subTest(args=args):
                rc, stdout, stderr = self.run_cli(args, d)
                self.assertEqual((rc, stdout, stderr), (2, "", message))
                self.assertEqual(sorted(os.listdir(d)), before)

    def results_in_every_format(self, d):
        """Assesses one workbook to .xls, csv and json; returns the sheets, csv rows, json. (The
        .xls format keeps every bit of a double, as CSV and JSON do.)"""
        A.write_xlwt(os.path.join(d, "in.xls"), A.river_rows())
        for args in (["-o", "r.xls"], ["-o", "r.csv"], ["-o", "r.out", "--format", "json"]):
            rc, _, stderr = self.run_cli(["in.xls"] + args, d)
            self.assertEqual(rc, 0, stderr)
        _, sheets = A.read_results(os.path.join(d, "r.xls"))
        tables = {t: csv_rows(os.path.join(d, "r-%s.csv" % t))
                  for t in ("samples", "sites", "unmatched", "taxa", "run")}
        with open(os.path.join(d, "r.out"), encoding="utf-8") as f:
            doc = json.load(f)
        return sheets, tables, doc

    def test_csv_holds_the_workbook_values_at_full_precision(self):
        sheets, tables, _ = self.results_in_every_format(self.folder("csv"))
        js = sheets["Job Summary"]
        header = next(r for (r, c), v in js.items() if c == 0 and v[0] == "Code")
        taxa = len(tables["taxa"])  # the taxa table ends one row above the shares table
        # The samples file holds the scored share and its flag after the sheet's columns.
        samples_csv = [row[:-2] for row in tables["samples"]]
        pairs = [(sheet_rows(sheets["Sample Summary"]), samples_csv),
                 (sheet_rows(sheets["Uncertainty TDI4"]), tables["sites"]),
                 (sheet_rows(js, header, 7), tables["unmatched"]),
                 (sheet_rows(sheets["Taxon matching"], 0, 20)[:taxa], tables["taxa"]),
                 (sheet_rows(sheets["Run details"]), tables["run"])]
        for book_rows, csv_table in pairs:
            self.assertEqual(len(book_rows), len(csv_table))
            for book_row, csv_row in zip(book_rows, csv_table):
                self.assertEqual(len(csv_row), len(book_row))
                self.assertEqual([csv_value(f, v) for f, v in zip(csv_row, book_row)], book_row)
        self.assertEqual([row[-2:] for row in tables["samples"]],
                         [["% Scored", "Below threshold"], [repr(20 / 23 * 100), "No"],
                          [repr(20 / 22 * 100), "No"], ["100", "No"], ["0", "Yes"]])
        shares = sheet_rows(sheets["Taxon matching"], taxa + 1, 5)
        self.assertEqual(shares[0], ["Sample", "Sample sum", "Scored sum", "% Scored",
                                     "Below threshold"])
        self.assertEqual(shares[4], ["S4", 7, 0, 0, "Yes"])
        samples = tables["samples"]
        self.assertEqual(samples[0][16], "Comment TD14")
        self.assertEqual(samples[1][2], "40179")  # the sampling date as its day number
        self.assertEqual(samples[1][11], "Moderate")
        self.assertAlmostEqual(float(samples[1][10]), 0.8 * 50 / (100 - 9.933 * math.exp(0.81)),
                               places=14)  # not rounded to the workbook's two decimals
        self.assertEqual(samples[1][10], repr(float(samples[1][10])))  # shortest exact digits
        self.assertEqual(samples[4][8:12], ["", "", "", ""])  # no scored taxa: empty fields
        self.assertEqual(samples[4][16], "Missing Alkalinity, value set to 100 mg/lNo matching taxa found")
        self.assertEqual(tables["unmatched"][1], ["AA004", "Unscored", "2", repr(1 / (1 / 64 + 49 / 64)),
                                                  "7", "", ""])

    def test_json_holds_the_workbook_values(self):
        sheets, tables, doc = self.results_in_every_format(self.folder("json"))
        self.assertEqual((doc["input"], doc["worksheet"], doc["metric"]), ("in.xls", "Counts", "TDI4"))
        self.assertEqual(doc["summary"][:2], ["File: in.xls", "Worksheet: Counts"])
        self.assertEqual(doc["summary"], [sheets["Job Summary"].get((r, 0), ("",))[0]
                                          for r in range(len(doc["summary"]))])
        ss = sheet_rows(sheets["Sample Summary"])
        self.assertEqual(len(doc["samples"]), len(ss) - 1)
        for sample, row in zip(doc["samples"], ss[1:]):
            self.assertEqual(list(sample["info"].values()), row[:6])
            self.assertEqual(list(sample["info"]), ss[0][:6])
            self.assertEqual(list(sample["results"].values()), row[6:11] + row[12:16])
            self.assertEqual(list(sample["results"]), ss[0][6:11] + ss[0][12:16])
            self.assertEqual(sample["class"], row[11])
            self.assertEqual(sample["comment"], row[16] or "")
        self.assertEqual([s["classCode"] for s in doc["samples"]], [3, 5, 1, None])
        self.assertIsNone(doc["samples"][3]["results"]["EQR TDI4"])
        us = sheet_rows(sheets["Uncertainty TDI4"])
        self.assertEqual([list(s.values())[:-1] for s in doc["sites"]], us[1:])
        self.assertEqual([s["classCode"] for s in doc["sites"]], [4, 1])
        self.assertEqual(doc["unmatched"], [
            {"Code": "AA004", "Name": "Unscored", "N": 2, "N2": 1 / (1 / 64 + 49 / 64), "Max": 7},
            {"Code": "ZZ999", "Name": "Not in the list", "N": 2, "N2": 2, "Max": 2}])

    def test_standard_output_in_a_pipe(self):
        d = self.folder("pipe")
        A.write_openpyxl(os.path.join(d, "in.xlsx"), A.river_rows())
        self.assertEqual(self.run_cli(["in.xlsx", "-o", "r.csv"], d)[0], 0)
        script = ("import csv, json, sys\n"
                  "text = sys.stdin.read()\n"
                  "print(json.dumps(json.loads(text)['metric'] if sys.argv[1] == 'json'"
                  " else list(csv.reader(text.splitlines()))))\n")
        for fmt in ("csv", "json"):
            with self.subTest(fmt=fmt):
                p = subprocess.run("'%s' assess in.xlsx --database '%s' -o - --format %s | "
                                   "python3 -c \"$SCRIPT\" %s" % (A.CLI, self.db, fmt, fmt),
                                   shell=True, cwd=d, capture_output=True, text=True,
                                   env=dict(os.environ, SCRIPT=script), timeout=60)
                self.assertEqual((p.returncode, p.stderr), (0, ""))
                got = json.loads(p.stdout)
                if fmt == "json":
                    self.assertEqual(got, "TDI4")
                else:
                    self.assertEqual(got, [r for r in csv_rows(os.path.join(d, "r-samples.csv"))])
        rc, stdout, stderr = self.run_cli(["in.xlsx", "-o", "-"], d)  # csv by default
        self.assertEqual((rc, stderr), (0, ""))
        self.assertTrue(stdout.startswith("Sample,Site code,Date,"))
        self.assertNotIn("Number of taxa", stdout)  # no job summary mixed in


class Progress(unittest.TestCase):
    """A batch of large workbooks that takes longer than a second: progress on a terminal,
    none in a pipe."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = A.temp_dir()
        gen = os.path.join(A.PROGRAM_DIR, "bench_gen_workbook")
        if not os.path.exists(gen):
            raise unittest.SkipTest("bench_gen_workbook is not built")
        first = os.path.join(cls.tmp.name, "w0.xlsx")
        subprocess.run([gen, first, "1000", "1000", "0.1", "zeros"], check=True, timeout=120)
        cls.books = [first]
        for i in range(1, 5):
            cls.books.append(os.path.join(cls.tmp.name, "w%d.xlsx" % i))
            shutil.copy(first, cls.books[-1])

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def args(self, out):
        return [A.CLI, "assess"] + self.books + ["--out-dir", out, "--format", "csv"]

    def test_no_progress_when_standard_error_is_not_a_terminal(self):
        p = subprocess.run(self.args(os.path.join(self.tmp.name, "pipe")), capture_output=True,
                           text=True, timeout=300)
        self.assertEqual(p.returncode, 0, p.stderr)
        self.assertEqual(len(p.stdout.splitlines()), 5)
        self.assertNotIn("\r", p.stderr)
        self.assertNotIn("workbook 1 of 5", p.stderr)

    def test_progress_on_one_line_of_a_terminal(self):
        master, slave = pty.openpty()
        p = subprocess.Popen(self.args(os.path.join(self.tmp.name, "tty")), stdout=subprocess.PIPE,
                             stderr=slave)
        os.close(slave)
        seen = b""
        while True:
            ready, _, _ = select.select([master], [], [], 300)
            try:
                chunk = os.read(master, 4096) if ready else b""
            except OSError:  # the program closed the terminal
                chunk = b""
            if not chunk:
                break
            seen += chunk
        os.close(master)
        stdout = p.stdout.read()
        p.stdout.close()
        self.assertEqual(p.wait(timeout=60), 0)
        self.assertIn(b"\r\x1b[Kworkbook ", seen)
        self.assertRegex(seen, rb"workbook \d of 5: .*w\d\.xlsx: (reading|analysing|writing), \d+ s")
        self.assertTrue(seen.endswith(b"\r\x1b[K"), seen[-80:])  # the line is cleared at the end
        self.assertEqual(len(stdout.splitlines()), 5)


if __name__ == "__main__":
    unittest.main()
