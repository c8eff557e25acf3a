"""Saving results while the disk fails, end to end: frusta2-cli runs with the fault-injecting
file layer preloaded, and each file operation of its save (creating, each write, flush, flush
to disk, close, link, rename, flush of the folder, making --out-dir) fails in turn with ENOSPC,
EIO and EACCES, for .xls, .xlsx, CSV and JSON and a run over several workbooks. After each
failure the previous results are there byte for byte, no temporary file is left, the exit
status is 1 with the reason, and in a run over several workbooks the others are done.

Of the many writes that libxlsxwriter and minizip make to one file (its temporary files, the
.xlsx: over a thousand per workbook) the first and one in 25 fail here; the fault tests of the
core (tests/faults) fail every one of them.
Also: the folder removed while the program runs, a results name that is a folder, a
read-only folder, and two programs saving the same name at once."""
import collections
import errno
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402
import faultlib as F  # noqa: E402

ERRNOS = (errno.ENOSPC, errno.EIO, errno.EACCES)
WRITE_STRIDE = 25


def river_rows(first_count):
    rows = A.river_rows()
    rows[6] = ["AA001", "Taxon one", first_count, 0, 5, 0]
    return rows


class SaveFaults(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = F.scratch_dir()
        d = cls.scratch.name
        cls.db = os.path.join(d, "ref.sqlite")
        A.make_database(cls.db)
        cls.books = []
        for i, name in enumerate(("north.xls", "south.xls", "east.xls")):
            path = os.path.join(d, name)
            A.write_xlwt(path, river_rows(10 + 7 * i))
            cls.books.append(path)
        cls.out = os.path.join(d, "out")
        cls.tmp = os.path.join(d, "tmp")
        os.mkdir(cls.out)
        os.mkdir(cls.tmp)
        cls.report = os.path.join(d, "report")
        cls.tally = collections.Counter()

    @classmethod
    def tearDownClass(cls):
        t = cls.tally
        print(f"\n[ faults ] frusta2-cli: {t['injected']} save failures injected, {t['reported']} "
              f"reported with exit status 1 and the previous results intact, {t['tolerated']} "
              f"absorbed by libxlsxwriter with complete results", file=sys.stderr)
        cls.scratch.cleanup()

    def run_cli(self, args, at=0, err=0, hooks=None):
        return F.run(["assess"] + args + ["--database", self.db], [self.out, self.tmp], self.tmp,
                     self.report, at, err, hooks)

    def operations(self, args, before):
        """The operations of a save without failures, and the files it leaves."""
        F.restore(self.out, before)
        status, _, stderr, report = self.run_cli(args)
        self.assertEqual(status, 0, stderr)
        self.assertTrue(report.ops > 0)
        saved = F.contents(self.out)
        self.assertFalse([n for n in saved if n.startswith(".")], "a temporary file left")
        F.restore(self.out, before)
        return report, saved

    def is_scratch(self, op):
        return self.tmp in op

    def chosen(self, report):
        """Every operation, but of the many writes that libxlsxwriter and minizip make to one file
        (its temporary files, the .xlsx) the first and one in WRITE_STRIDE."""
        ks, writes = [], collections.Counter()
        for k in range(1, report.ops + 1):
            kind, _, path = report.op(k).partition(" ")
            if kind in ("write", "flush"):
                writes[path] += 1
                if writes[path] % WRITE_STRIDE != 1:
                    continue
            ks.append(k)
        return ks

    def expect_reason(self, stderr, op, err, targets):
        self.assertTrue(any(f"'{t}': " in stderr or f" {t}: " in stderr for t in targets),
                        f"{op}: {stderr}")
        if self.is_scratch(op) and not op.startswith("create"):
            self.assertIn("(is the disk full?)", stderr, op)
        else:
            self.assertIn(F.REASONS[err], stderr, op)

    def fail_each(self, name, args, targets, before, errnos=ERRNOS):
        report, saved = self.operations(args, before)
        ks = self.chosen(report)
        for err in errnos:
            for k in ks:
                op = report.op(k)
                with self.subTest(route=name, op=f"{k} {op}", errno=errno.errorcode[err]):
                    status, _, stderr, r = self.run_cli(args, k, err)
                    self.tally["injected"] += 1
                    self.assertTrue(r.fired)
                    self.assertEqual(os.listdir(self.tmp), [])
                    if status == 0:
                        # libxlsxwriter makes its temporary files elsewhere when it cannot make
                        # them here, and it closes them after it has read them.
                        self.tally["tolerated"] += 1
                        self.assertTrue(self.is_scratch(op) and op.split()[0] in ("create", "close"),
                                        "a failure that the save did not report")
                        self.assertEqual(self.cells(F.contents(self.out)), self.cells(saved))
                        F.restore(self.out, before)
                        continue
                    self.tally["reported"] += 1
                    self.assertEqual(status, 1, stderr)
                    self.expect_reason(stderr, op, err, targets)
                    self.assertEqual(F.contents(self.out), before)
        status, _, stderr, _ = self.run_cli(args)
        self.assertEqual(status, 0, stderr)
        print(f"[ faults ] {name}: {report.ops} operations, {len(ks)} failed x {len(errnos)} errnos",
              file=sys.stderr)

    def cells(self, files):
        """The files with .xlsx workbooks as their cells: they hold the time they were written.
        The time of the analysis in the run details is left out."""
        out = {}
        for name, data in files.items():
            if name.endswith(".xlsx"):
                path = os.path.join(self.out, name)
                out[name] = (A.without_run_details(A.read_results(path)[1], (A.RUN_TIME,))
                             if os.path.exists(path) else None)
            elif name.endswith("-run.csv") and data is not None:
                out[name] = A.without_run_time_csv(data)
            elif name.endswith(".json") and data is not None and data.startswith(b"{"):
                out[name] = A.without_run_time_json(data)
            else:
                out[name] = data
        return out

    def test_each_format_with_o(self):
        for ext, files in ((".xls", ["r.xls"]), (".xlsx", ["r.xlsx"]), (".json", ["r.json"]),
                           (".csv", ["r-samples.csv", "r-sites.csv", "r-unmatched.csv", "r-taxa.csv",
                                     "r-run.csv"])):
            before = {f: f"previous {f}\n".encode() for f in files}
            targets = [os.path.join(self.out, f) for f in files]
            self.fail_each(ext, [self.books[0], "-o", os.path.join(self.out, "r" + ext)],
                           targets, before)

    def test_run_over_several_workbooks(self):
        batch = os.path.join(self.out, "batch")
        args = self.books + ["--out-dir", batch, "--format", "json"]
        names = ["north-results.json", "south-results.json", "east-results.json"]
        # Into a folder with earlier results: the workbook whose save fails keeps them.
        before = {f: f"previous {f}\n".encode() for f in names}
        F.restore(self.out, {"batch": None})
        F.restore(batch, before)
        status, _, stderr, report = self.run_cli(args)
        self.assertEqual(status, 0, stderr)
        clean = F.contents(batch)
        for err in ERRNOS:
            for k in range(1, report.ops + 1):
                op = report.op(k)
                with self.subTest(op=f"{k} {op}", errno=errno.errorcode[err]):
                    F.restore(batch, before)
                    status, stdout, stderr, r = self.run_cli(args, k, err)
                    self.tally["injected"] += 1
                    self.tally["reported"] += 1
                    self.assertTrue(r.fired)
                    self.assertEqual(status, 1, stderr)
                    lines = [line.split("\t") for line in stdout.splitlines()]
                    self.assertEqual([line[0] for line in lines], self.books)
                    failed = [i for i, line in enumerate(lines) if line[3] != "done"]
                    self.assertEqual(len(failed), 1, stdout)
                    self.assertIn(F.REASONS[err], lines[failed[0]][3])
                    now = F.contents(batch)
                    for i, name in enumerate(names):
                        self.assertEqual(self.cells({name: now[name]}),
                                         self.cells({name: before[name] if i in failed
                                                     else clean[name]}))
                    self.assertEqual(sorted(now), sorted(names))
        # Into a folder still to be made: its making fails too.
        F.restore(self.out, {})
        status, _, _, report = self.run_cli(args)
        self.assertEqual(report.op(1).split()[0], "mkdir")
        F.restore(self.out, {})
        status, stdout, stderr, r = self.run_cli(args, 1, errno.ENOSPC)
        self.tally["injected"] += 1
        self.tally["reported"] += 1
        self.assertEqual((status, stdout), (1, ""))
        self.assertIn(f"frusta2-cli assess: cannot make the folder {batch}: No space left on device",
                      stderr)
        self.assertEqual(F.contents(self.out), {})

    def test_folder_removed_while_running(self):
        sub = os.path.join(self.out, "sub")
        for ext in (".xlsx", ".csv"):
            F.restore(self.out, {"sub": None})
            target = os.path.join(sub, "r" + ext)
            status, _, stderr, _ = self.run_cli([self.books[0], "-o", target],
                                                hooks=[(self.books[0], f"rm -r '{sub}'")])
            self.assertEqual(status, 1, stderr)
            self.assertIn("the folder does not exist", stderr)
            self.assertEqual(F.contents(self.out), {})

    def test_results_name_that_is_a_folder(self):
        for files, out, target in (
                ({"r.xlsx": None}, "r.xlsx", "r.xlsx"),
                ({"r.json": None}, "r.json", "r.json"),
                ({"r-samples.csv": b"old", "r-sites.csv": None, "r-unmatched.csv": b"old",
                  "r-taxa.csv": b"old", "r-run.csv": b"old"}, "r.csv",
                 "r-sites.csv")):
            F.restore(self.out, files)
            status, _, stderr, _ = self.run_cli([self.books[0], "-o", os.path.join(self.out, out)])
            self.assertEqual(status, 1, stderr)
            self.assertIn(os.path.join(self.out, target), stderr)
            self.assertIn("a folder of that name exists", stderr)
            self.assertEqual(F.contents(self.out), files)

    def test_read_only_folder_or_file(self):
        """A folder that cannot be written, and a file of the set that is read-only (one to be
        replaced; the sites file that results without a site table would remove)."""
        csv_set = ["r-samples.csv", "r-sites.csv", "r-unmatched.csv", "r-taxa.csv", "r-run.csv"]
        for ext, names, read_only, metric in ((".xls", ["r.xls"], "ro", "TDI4"),
                                              (".csv", csv_set, "ro", "TDI4"),
                                              (".csv", csv_set, "ro/r-samples.csv", "TDI4"),
                                              (".csv", csv_set, "ro/r-sites.csv", "DAM")):
            ro = os.path.join(self.out, "ro")
            F.restore(self.out, {"ro": None})
            previous = {n: b"previous" for n in names}
            F.restore(ro, previous)
            locked = os.path.join(self.out, read_only)
            os.chmod(locked, 0o555 if locked == ro else 0o444)
            try:
                p = subprocess.run(F.unprivileged([A.CLI, "assess", self.books[0], "--database", self.db,
                                                   "--metric", metric, "-o", os.path.join(ro, "r" + ext)]),
                                   capture_output=True, text=True, timeout=120)
            finally:
                os.chmod(locked, 0o755 if locked == ro else 0o644)
            self.assertEqual(p.returncode, 1, p.stderr)
            self.assertIn("permission denied", p.stderr)
            self.assertEqual(F.contents(ro), previous)

    def test_two_programs_saving_the_same_name(self):
        """Always the whole results of one of them, never a mix."""
        for ext in (".csv", ".xlsx"):
            target = os.path.join(self.out, "same" + ext)
            runs = [[A.CLI, "assess", self.books[0], "--database", self.db, "-o", target, "--metric", m]
                    for m in ("TDI4", "TDI3")]
            expected = []
            for args in runs:
                F.restore(self.out, {})
                subprocess.run(args, check=True, capture_output=True, timeout=120)
                expected.append(self.cells(F.contents(self.out)))
            self.assertNotEqual(expected[0], expected[1])
            # Each rename waits, so that the two programs put their files in place at once.
            env = F.environment([self.out], self.tmp, self.report)
            env["FRUSTA_FAULT_SLOW_RENAME_MS"] = "20"
            for _ in range(8):
                procs = [subprocess.Popen(a, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
                         for a in runs]
                for p in procs:
                    self.assertEqual(p.wait(timeout=120), 0, p.stderr.read())
                    p.stderr.close()
                self.assertIn(self.cells(F.contents(self.out)), expected)


if __name__ == "__main__":
    unittest.main()
