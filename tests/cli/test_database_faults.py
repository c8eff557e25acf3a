"""The reference database failing while frusta2-cli runs: after start-up has read the master
list, and before the first workbook loads its class boundaries, the database file is deleted,
cut short, replaced by another file, made unreadable or locked by another program's write
transaction, or (Access) the child process reading it is killed. The workbook fails with the
messages of a failed load and the reason; once the file is back, the next workbook of the run
is assessed with the master list of start-up."""
import json
import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402
import faultlib as F  # noqa: E402

FAILED_LOAD = "failed: Error opening boundary database Error retrieving boundary data ("

# Holds an exclusive write transaction on the database until killed; says so by a file.
HOLD_LOCK = """
import sqlite3, sys, time
con = sqlite3.connect(sys.argv[1], isolation_level=None)
con.execute("BEGIN EXCLUSIVE")
open(sys.argv[2], "w").close()
time.sleep(120)
"""

def comparable(json_bytes):
    """A results document without the run's time and without the database's name, folder and
    time of change: the database restored after the damage is a copy of the clean run's under
    another name. Its size, SHA-256 and About text must agree."""
    doc = json.loads(json_bytes)
    for label in (A.RUN_TIME, "Reference database", "Reference database folder",
                  "Reference database modified (UTC)"):
        doc["run"].pop(label)
    return doc


class DatabaseFaults(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = F.scratch_dir()
        d = cls.scratch.name
        cls.sqlite = os.path.join(d, "original.sqlite")
        A.make_database(cls.sqlite)
        cls.mdb = os.path.join(os.environ.get("FRUSTA_TEST_DATA_DIR", ""), "refdb/reference.mdb")
        cls.books = []
        for name in ("north.xls", "south.xls"):
            path = os.path.join(d, name)
            A.write_xlwt(path, A.river_rows())
            cls.books.append(path)
        with open(os.path.join(d, "hold_lock.py"), "w") as f:
            f.write(HOLD_LOCK)
        cls.out = os.path.join(d, "out")

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def path(self, name):
        return os.path.join(self.scratch.name, name)

    def run_twice(self, original, db_name, damage, restore, reason):
        """Two workbooks: the database damaged as the first is opened, restored as the second is."""
        db = self.path(db_name)
        shutil.copyfile(original, db)
        shutil.rmtree(self.out, ignore_errors=True)
        hooks = [(self.books[0], damage.format(db=db, dir=self.scratch.name)),
                 (self.books[1], restore.format(db=db, original=original, dir=self.scratch.name))]
        args = ["assess"] + self.books + ["--out-dir", self.out, "--format", "json", "--database", db]
        p = subprocess.run(F.unprivileged([A.CLI] + args), capture_output=True, text=True, timeout=300,
                           env=F.environment([], self.scratch.name, self.path("report"), hooks=hooks))
        lines = [line.split("\t") for line in p.stdout.splitlines()]
        self.assertEqual(p.returncode, 1, p.stderr)
        self.assertEqual([line[0] for line in lines], self.books, p.stdout)
        self.assertEqual(lines[0][1:3], ["0", "0"])
        self.assertEqual(lines[0][3], FAILED_LOAD + reason.format(db=db) + ")")
        self.assertEqual(lines[1][3], "done", p.stderr)
        self.assertIn(f"{self.books[0]}: Error retrieving boundary data", p.stderr)
        self.assertEqual(sorted(os.listdir(self.out)), ["south-results.json"])
        return lines[1]

    def test_sqlite_database(self):
        restore = "cp '{original}' '{db}'"
        cases = [
            ("deleted", "rm '{db}'", restore, "Could not find file '{db}'."),
            ("replaced", "cp '%s' '{db}'" % self.books[1], restore,
             "Unrecognized database format '{db}'. The file is not an SQLite database."),
            ("cut short", "truncate -s 2048 '{db}'", restore,
             "Unrecognized database format '{db}'. The file cannot be read as an SQLite database: "
             "database disk image is malformed."),
            ("unreadable", "chmod 000 '{db}'", "chmod 644 '{db}'",
             "The file '{db}' cannot be opened: it is a folder, or it cannot be read."),
            ("locked", "python3 {dir}/hold_lock.py '{db}' {dir}/locked & echo $! > {dir}/holder; "
                       "while [ ! -e {dir}/locked ]; do sleep 0.01; done",
             "kill -KILL $(cat {dir}/holder); rm {dir}/locked {dir}/holder",
             "The database '{db}' is locked: another program is changing it. Try again when it "
             "has finished."),
        ]
        # The second workbook as a run without trouble assesses it.
        shutil.rmtree(self.out, ignore_errors=True)
        p = subprocess.run([A.CLI, "assess"] + self.books + ["--out-dir", self.out, "--format", "json",
                                                              "--database", self.sqlite],
                           capture_output=True, text=True, timeout=300)
        self.assertEqual(p.returncode, 0, p.stderr)
        clean_line = p.stdout.splitlines()[1].split("\t")
        with open(os.path.join(self.out, "south-results.json"), "rb") as f:
            clean = comparable(f.read())
        for name, damage, undo, reason in cases:
            with self.subTest(name):
                self.assertEqual(self.run_twice(self.sqlite, "ref.sqlite", damage, undo, reason),
                                 clean_line)
                with open(os.path.join(self.out, "south-results.json"), "rb") as f:
                    self.assertEqual(comparable(f.read()), clean)

    def test_access_reading_killed(self):
        # The fault layer kills each child process that opens the database: the readings of
        # the Access file.
        self.run_twice(self.mdb, "ref.mdb", "@kill-children-opening {db}", "@spare-children",
                       "Unrecognized database format '{db}'. The file is damaged: reading it "
                       "stopped unexpectedly.")


if __name__ == "__main__":
    unittest.main()
