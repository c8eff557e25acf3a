#!/usr/bin/python3
"""End-to-end tests of taxon matching: the status of every taxon, the suggestions for taxa not
in the list, translation tables written by other programs and their refusals, the scored share
and its threshold, and the run details' checksums against sha256sum."""
import csv
import hashlib
import json
import os
import shutil
import sqlite3
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402

# Master entries beyond assesslib's: code -> (key, name, score for every metric)
NAMED = {
    "AC001A": ("NBN0101", "Achnanthes minutissima Kützing", 2),
    "AC002A": ("NBN0102", "Achnanthes minutissima var. jackii (Rabenhorst) Grunow", 2),
    "NA001A": ("NBN0103", "Navicula cryptocephala", 4),
    "GO001A": ("NBN0104", "Gomphonema parvulum", 3),
}

# Code, name, counts of S1 and S2, and what the taxon matching table must say of it.
TAXA = [
    ("AA001", "Taxon one", 6, 1, "scored", "AA001", []),
    ("AA004", "Unscored", 2, 0, "in the list, no TDI4 score", "AA004", []),
    ("ac 001-a", "whatever", 1, 0, "not in the list", "", ["AC001A"]),            # code spacing
    ("X1", "ACHNANTHES MINUTISSIMA", 1, 0, "not in the list", "", ["AC001A"]),   # case
    ("X2", "Achnanthes minutissima jackii", 1, 0, "not in the list", "", ["AC002A"]),  # no var.
    ("X3", "Navicula cryptocephala Grunow in Van Heurck", 1, 0, "not in the list", "",
     ["NA001A"]),                                                                  # authority
    ("X4", "Gomphonema parvolum", 1, 0, "not in the list", "", ["GO001A"]),      # one slip
    ("X5", "Gomphonema prvolum", 1, 0, "not in the list", "", ["GO001A"]),       # two slips
    ("X6", "Aulacoseira granulata", 0, 9, "not in the list", "", []),            # unrelated
]


def make_database(path):
    A.make_database(path)
    con = sqlite3.connect(path)
    con.executemany("INSERT INTO NBSMasterTaxonList_PhaseII VALUES (?,?,?,?,?,?,?,?,0,0,0,0)",
                    [(key, code, name, s, s, s, s, s) for code, (key, name, s) in NAMED.items()])
    con.execute("CREATE TABLE About (Item TEXT, Text TEXT)")
    con.execute("INSERT INTO About VALUES ('Status', 'Test list, December 2026')")
    con.commit()
    con.close()


def workbook_rows():
    rows = A.river_rows()[:6]
    rows = [row[:4] for row in rows]  # two samples
    rows[3][2:4] = [100, 100]
    return rows + [[code, name, c1, c2] for code, name, c1, c2, *_ in TAXA]


def sha256(path):
    out = subprocess.run(["sha256sum", path], capture_output=True, text=True, check=True).stdout
    return out.split()[0]


def csv_rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f))


class TaxonMatching(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = A.temp_dir()
        cls.dir = cls.tmp.name
        cls.db = os.path.join(cls.dir, "list.sqlite")
        make_database(cls.db)
        cls.book = os.path.join(cls.dir, "counts.xlsx")
        A.write_openpyxl(cls.book, workbook_rows())

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def assess(self, *args, out="r.csv"):
        return A.run(["assess", self.book, "--database", self.db, "-o", out] + list(args),
                     cwd=self.dir)

    def test_every_status_and_the_suggestions(self):
        rc, _, stderr = self.assess()
        self.assertEqual(rc, 0, stderr)
        taxa = csv_rows(os.path.join(self.dir, "r-taxa.csv"))
        header = taxa[0]
        self.assertEqual(header[:6], ["Code", "Name", "Status", "List code", "List name", "TDI4"])
        self.assertEqual(header[14:], ["Suggested code 1", "Suggested name 1", "Suggested code 2",
                                       "Suggested name 2", "Suggested code 3", "Suggested name 3"])
        for row, (code, name, c1, c2, status, list_code, suggested) in zip(taxa[1:], TAXA):
            with self.subTest(code=code, name=name):
                self.assertEqual(row[:4], [code, name, status, list_code])
                self.assertEqual([c for c in row[14::2] if c], suggested)
                self.assertEqual(row[11], repr(float(c1 + c2)).removesuffix(".0"))
        # Names of suggestions come from the list's name column, authority and all.
        self.assertEqual(taxa[4][15], "Achnanthes minutissima Kützing")
        self.assertEqual(taxa[1][4:6], ["Taxon one", "1"])
        self.assertEqual(taxa[2][5], "0")  # in the list, score 0

    def test_the_scored_share_and_its_threshold(self):
        # S1: 6 of 14 counts scored (42.9%); S2: 1 of 10 (10%).
        # A share equal to the threshold is not below it.
        for args, below in (([], ["Yes", "Yes"]), (["--min-scored-share", "42.8"], ["No", "Yes"]),
                            (["--min-scored-share", "10"], ["No", "No"])):
            with self.subTest(args=args):
                rc, _, stderr = self.assess(*args, out="share.json")
                self.assertEqual(rc, 0, stderr)
                with open(os.path.join(self.dir, "share.json"), encoding="utf-8") as f:
                    doc = json.load(f)
                self.assertEqual([s["scoredShare"] for s in doc["samples"]], [6 / 14 * 100, 10.0])
                self.assertEqual([s["belowThreshold"] for s in doc["samples"]],
                                 [b == "Yes" for b in below])
        for value, message in (("101", "--min-scored-share: Please enter a number between 0 and 100.\n"),
                               ("70%", "--min-scored-share: Please enter a number.\n")):
            self.assertEqual(self.assess("--min-scored-share", value, out="no.csv"), (2, "", message))

    def test_translation_tables_written_by_other_programs(self):
        import openpyxl
        import xlwt
        rows = [["Your code", "List code", "Note"], ["x4", "GO001A", "misspelt"],
                ["AC 001-A", "AC001A", None]]
        csv_path = os.path.join(self.dir, "lab.csv")
        with open(csv_path, "w", newline="", encoding="utf-8") as f:
            csv.writer(f).writerows([[v or "" for v in r] for r in rows])
        xlsx_path = os.path.join(self.dir, "lab.xlsx")
        book = openpyxl.Workbook()
        for r in rows:
            book.active.append(r)
        book.save(xlsx_path)
        xls_path = os.path.join(self.dir, "lab.xls")
        book = xlwt.Workbook()
        sheet = book.add_sheet("Codes")
        for r, row in enumerate(rows):
            for c, v in enumerate(row):
                if v is not None:
                    sheet.write(r, c, v)
        book.save(xls_path)
        for path in (csv_path, xlsx_path, xls_path):
            with self.subTest(table=os.path.basename(path)):
                rc, _, stderr = self.assess("--translations", path, out="t.json", )
                self.assertEqual(rc, 0, stderr)
                with open(os.path.join(self.dir, "t.json"), encoding="utf-8") as f:
                    doc = json.load(f)
                by_code = {t["Code"]: t for t in doc["taxa"]}
                self.assertEqual([by_code["X4"][k] for k in ("Status", "List code", "Note")],
                                 ["translated, scored", "GO001A", "misspelt"])
                self.assertEqual(by_code["ac 001-a"]["Status"], "translated, scored")
                self.assertEqual(by_code["X5"]["Status"], "not in the list")
                self.assertEqual(doc["run"]["Taxon translations"], os.path.basename(path))
                self.assertEqual(doc["run"]["Taxon translations SHA-256"], sha256(path))

    def test_refused_translation_tables(self):
        cases = [
            ("twice.csv", "Code,List code\nX1,AC001A\n\nx1,AC002A\n",
             "Row 4: the code x1 is already mapped in row 2."),
            ("target.csv", "Code,List code\nX1,AC001A\nX2,AC009Z,new\n",
             "Row 3: the list code AC009Z is not in the master taxon list."),
            ("malformed.csv", "Your code,List code\n,AC001A,a note\n",
             "Row 2: a row needs your code in the first column and a list code in the second."),
        ]
        for name, text, reason in cases:
            with self.subTest(name):
                path = os.path.join(self.dir, name)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
                out = os.path.join(self.dir, "refused.xlsx")
                rc, stdout, stderr = self.assess("--translations", path, out=out)
                self.assertEqual((rc, stdout), (2, ""))
                self.assertEqual(stderr, "The taxon translation table %s cannot be used.\n%s\n"
                                 % (name, reason))
                self.assertFalse(os.path.exists(out))
        rc, _, stderr = self.assess("--translations", os.path.join(self.dir, "none.csv"))
        self.assertEqual(rc, 2)
        self.assertTrue(stderr.startswith("The taxon translation table none.csv cannot be read."),
                        stderr)

    def test_run_details_name_the_files_by_their_checksums(self):
        rc, _, stderr = self.assess(out="run.xlsx")
        self.assertEqual(rc, 0, stderr)
        _, sheets = A.read_results(os.path.join(self.dir, "run.xlsx"))
        self.assertEqual(list(sheets)[-2:], A.NEW_SHEETS)
        details = {v[(r, 0)][0]: v.get((r, 1), ("",))[0]
                   for v in [sheets["Run details"]] for r in range(1, max(k[0] for k in v) + 1)}
        self.assertEqual(details["Reference database SHA-256"], sha256(self.db))
        self.assertEqual(details["Input workbook SHA-256"], sha256(self.book))
        self.assertEqual(details["Reference database"], "list.sqlite")
        self.assertEqual(details["Reference database size (bytes)"], str(os.path.getsize(self.db)))
        self.assertEqual(details["Reference database About"], "Status: Test list, December 2026")
        self.assertEqual(details["Master list name column"], "TaxonName")
        self.assertEqual(details["Taxon translations"], "none")
        self.assertEqual((details["Worksheet"], details["First data row"],
                          details["First data column"]), ("Counts", "7", "C"))
        self.assertEqual(details["Class boundaries TDI4"],
                         "High/Good 0.8, Good/Moderate 0.6, Moderate/Poor 0.4, Poor/Bad 0.2")
        self.assertRegex(details[A.RUN_TIME], r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$")
        with open(self.db, "rb") as f:
            self.assertEqual(hashlib.sha256(f.read()).hexdigest(), sha256(self.db))

    def test_the_new_sheets_read_by_xlrd_and_libreoffice(self):
        rc, _, stderr = self.assess(out="r.xls")
        self.assertEqual(rc, 0, stderr)
        rc, _, stderr = self.assess(out="same.csv")
        self.assertEqual(rc, 0, stderr)
        _, sheets = A.read_results(os.path.join(self.dir, "r.xls"))
        tm = sheets["Taxon matching"]
        self.assertEqual(tm[(0, 2)][0], "Status")
        self.assertEqual(tm[(len(TAXA) + 2, 0)][0], "Sample")  # one empty row, then the shares
        self.assertEqual(tm[(len(TAXA) + 3, 3)], (6 / 14 * 100, "0.00"))
        self.assertEqual(tm[(len(TAXA) + 3, 4)][0], "Yes")
        if not shutil.which("soffice"):
            self.skipTest("LibreOffice is not installed")
        # LibreOffice writes every sheet of the workbook as a CSV file of its own.
        subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(self.dir, "lo"),
                        "--headless", "--convert-to",
                        "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1",
                        "--outdir", os.path.join(self.dir, "lo-out"), os.path.join(self.dir, "r.xls")],
                       check=True, capture_output=True, timeout=300)
        lo_taxa = csv_rows(os.path.join(self.dir, "lo-out", "r-Taxon matching.csv"))
        ours = csv_rows(os.path.join(self.dir, "same-taxa.csv"))
        self.assertEqual([row[:5] for row in lo_taxa[:len(ours)]], [row[:5] for row in ours])
        lo_run = csv_rows(os.path.join(self.dir, "lo-out", "r-Run details.csv"))
        self.assertEqual(dict(lo_run)["Input workbook SHA-256"], sha256(self.book))


if __name__ == "__main__":
    unittest.main()
