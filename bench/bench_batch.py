#!/usr/bin/python3
"""Benchmarks the assessment of many workbooks: COUNT copies of the example workbook (48 taxa,
24 samples) assessed in one `frusta2-cli assess ... --out-dir` command against COUNT separate
commands, with the bundled reference database and with an Access database of 10,000
master-list records. Prints the median wall time of each, per workbook, the ratio, and (where
strace is installed) how often the database file was opened.

Usage: bench/bench_batch.py [--build DIR] [--count 100] [--runs 3] [--work DIR]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def wall(commands):
    """Seconds to run the commands one after another; each must succeed."""
    start = time.perf_counter()
    for cmd in commands:
        p = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if p.returncode != 0:
            raise RuntimeError("failed (%d): %s\n%s" % (p.returncode, " ".join(cmd[:4]), p.stderr[-2000:]))
    return time.perf_counter() - start


def median_wall(commands, runs):
    return statistics.median(wall(commands) for _ in range(runs))


def openings(cmd, db, work):
    """How often the command opens the database file (by strace), or None without strace."""
    if not shutil.which("strace"):
        return None
    log = os.path.join(work, "strace.log")
    subprocess.run(["strace", "-f", "-qq", "-e", "trace=openat", "-o", log] + cmd,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(log) as f:
        return sum(1 for line in f if '"%s"' % db in line and "= -1" not in line)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--count", type=int, default=100)
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--work", default=None)
    args = ap.parse_args()
    bindir = os.path.join(args.build, "bin")
    cli = os.path.join(bindir, "frusta2-cli")
    example = os.path.join(bindir, "TestData", "FRUSTA2TestData.xls")
    for need in (cli, example):
        if not os.path.exists(need):
            sys.exit("missing %s: build first (scripts/build.sh)" % need)
    work = args.work or tempfile.mkdtemp(prefix="frusta-bench-batch-")
    os.makedirs(work, exist_ok=True)
    books = []
    for i in range(args.count):
        books.append(os.path.join(work, "survey%03d.xls" % (i + 1)))
        shutil.copy(example, books[-1])
    access = os.path.join(work, "master10000.mdb")
    subprocess.run([sys.executable, os.path.join(HERE, "gen_access_masterlist.py"), access, "10000"],
                   check=True)
    databases = [("bundled FRUSTA2.sqlite", os.path.join(bindir, "FRUSTA2.sqlite")),
                 ("Access, 10,000 master-list rows", access)]

    print("%d workbooks of the example's size (48 taxa x 24 samples, .xls), median of %d runs"
          % (args.count, args.runs))
    print("  %-34s %-22s %9s %14s %10s" % ("database", "how", "wall s", "ms/workbook", "db opened"))
    for name, db in databases:
        one_dir, many_dir = os.path.join(work, "one"), os.path.join(work, "many")
        os.makedirs(many_dir, exist_ok=True)
        one = [[cli, "assess"] + books + ["--database", db, "--out-dir", one_dir]]
        many = [[cli, "assess", b, "--database", db, "-o",
                 os.path.join(many_dir, os.path.basename(b)[:-4] + "-results.xlsx")] for b in books]
        t_one, t_many = median_wall(one, args.runs), median_wall(many, args.runs)
        opened = (openings(one[0], db, work), openings(many[0], db, work))
        for how, t, n in (("one command", t_one, opened[0]),
                          ("%d commands" % args.count, t_many,
                           None if opened[1] is None else opened[1] * args.count)):
            print("  %-34s %-22s %9.3f %14.2f %10s" % (name, how, t, 1000 * t / args.count,
                                                       "-" if n is None else n))
        print("  %-34s %-22s %9.2f" % ("", "ratio many/one", t_many / t_one))
        sys.stdout.flush()
    if not args.work:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
