#!/usr/bin/python3
"""Benchmarks frusta2-cli against its peers on the same files, in one run.

For every case it generates a sample workbook, then runs, several times each:
  assess   frusta2-cli assess end to end (read, analyse, uncertainty, write .xlsx)
  read     frusta2-cli dump to /dev/null (the bare read)
  soffice  LibreOffice's headless conversion to CSV
  python   openpyxl read-only (.xlsx) or xlrd (.xls), iterating every cell
  floor    (.xlsx) inflating the sheet part and an expat parse that does nothing
and prints the median wall time and peak memory of each, and the ratios ours/peer.

The dense case (a) is also converted by LibreOffice to .ods (e) and .csv (f), the formats
LibreOffice users and scripts have; for those the bare read is `frusta2-cli sheets` too (no
output to write), the floor of the .ods is inflating content.xml with an expat parse that
does nothing, and that of the .csv is `wc -l` on the same file. LibreOffice's own conversion
of the file (.ods to CSV, CSV to .ods) is the peer.

Usage: bench/run_bench.py [--build DIR] [--runs N] [--cases a,b,c,d,e,f] [--work DIR]
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

CASES = {
    # name: (description, extension, samples, taxa, occupied share, zeros written)
    "a": ("dense .xlsx 2,000 x 1,500, every count cell filled", "xlsx", 2000, 1500, 0.10, True),
    "b": ("sparse .xlsx 2,000 x 1,500, 5% filled", "xlsx", 2000, 1500, 0.05, False),
    "c": (".xls 250 x 8,000, every count cell filled", "xls", 250, 8000, 0.10, True),
    # An .xlsx sheet has at most 16,384 columns: two go to the taxon code and name.
    "d": ("largest .xlsx 16,382 x 1,500", "xlsx", 16382, 1500, 0.10, True),
    # Case (a) as LibreOffice saves it.
    "e": ("dense (a) as .ods by LibreOffice", "ods", 2000, 1500, 0.10, True),
    "f": ("dense (a) as .csv by LibreOffice", "csv", 2000, 1500, 0.10, True),
}

PY_READ = {
    "xlsx": "import openpyxl,sys\nb=openpyxl.load_workbook(sys.argv[1],read_only=True)\n"
            "n=0\nfor r in b.worksheets[0].iter_rows(values_only=True):\n    n+=sum(1 for v in r if v is not None)\nprint(n)",
    "xls": "import xlrd,sys\nb=xlrd.open_workbook(sys.argv[1],on_demand=True)\ns=b.sheet_by_index(0)\n"
           "n=0\nfor i in range(s.nrows):\n    n+=sum(1 for v in s.row_values(i) if v!='')\nprint(n)",
}


def timed(cmd, cwd=None):
    """Wall seconds and peak resident memory (MB) of one run; the memory measured by
    /usr/bin/time -v, the time by the clock around it (to the microsecond)."""
    start = time.perf_counter()
    p = subprocess.run(["/usr/bin/time", "-v"] + cmd, cwd=cwd, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, text=True)
    seconds = time.perf_counter() - start
    if p.returncode != 0:
        raise RuntimeError("failed (%d): %s\n%s" % (p.returncode, " ".join(cmd), p.stderr[-2000:]))
    rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr).group(1)) / 1024
    return seconds, rss


def median_run(cmd, runs, cwd=None):
    results = [timed(cmd, cwd) for _ in range(runs)]
    return statistics.median(r[0] for r in results), statistics.median(r[1] for r in results)


def min_run(cmd, runs, cwd=None):
    """The fastest of `runs` runs: on a loaded machine the least disturbed one."""
    results = [timed(cmd, cwd) for _ in range(runs)]
    return min(r[0] for r in results), min(r[1] for r in results)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--cases", default="a,b,c,d,e,f")
    ap.add_argument("--work", default=None)
    args = ap.parse_args()
    bindir = os.path.join(args.build, "bin")
    cli = os.path.join(bindir, "frusta2-cli")
    gen = os.path.join(bindir, "bench_gen_workbook")
    floor = os.path.join(bindir, "bench_floor_xlsx")
    for tool in (cli, gen, floor):
        if not os.path.exists(tool):
            sys.exit("missing %s: build first (scripts/build.sh)" % tool)
    work = args.work or tempfile.mkdtemp(prefix="frusta-bench-")
    os.makedirs(work, exist_ok=True)
    lo_profile = "file://" + os.path.join(work, "lo-profile")
    master = os.path.join(work, "master10000.sqlite")
    subprocess.run([sys.executable, os.path.join(HERE, "gen_masterlist.py"), master, "10000"], check=True)
    pyfile = os.path.join(work, "read.py")
    rows = []
    for key in args.cases.split(","):
        desc, ext, samples, taxa, occ, zeros = CASES[key]
        if ext in ("ods", "csv"):
            rows.append(converted_case(key, desc, ext, args.runs, work, gen, cli, floor, lo_profile))
            continue
        book = os.path.join(work, "case_%s.%s" % (key, ext))
        if not os.path.exists(book):
            subprocess.run([gen, book, str(samples), str(taxa), str(occ), "zeros" if zeros else "empty"],
                           check=True)
        runs = 1 if key == "d" else args.runs
        with open(pyfile, "w") as f:
            f.write(PY_READ[ext])
        out = os.path.join(work, "out_%s.xlsx" % key)
        measured = {}
        measured["assess"] = median_run([cli, "assess", book, "--database", master, "-o", out], runs)
        measured["read"] = median_run(["sh", "-c", '"$0" dump "$1" > /dev/null', cli, book], runs)
        csvdir = os.path.join(work, "csv")
        measured["soffice"] = median_run(
            ["soffice", "-env:UserInstallation=" + lo_profile, "--headless", "--convert-to", "csv",
             "--outdir", csvdir, book], runs)
        measured["python"] = median_run(["/usr/bin/python3", pyfile, book], runs)
        if ext == "xlsx":
            measured["floor"] = median_run([floor, book], runs)
        rows.append((key, desc, os.path.getsize(book), measured))
        print_case(key, desc, os.path.getsize(book), count_cells(cli, book), measured, ext)
        sys.stdout.flush()
    print()
    analysis = os.path.join(bindir, "bench_analysis")
    if os.path.exists(analysis):
        print("Analysis alone, against master lists of growing size:")
        sys.stdout.flush()
        subprocess.run([analysis])
    if not args.work:
        shutil.rmtree(work, ignore_errors=True)


def converted_case(key, desc, ext, runs, work, gen, cli, floor, lo_profile):
    """Case (a) converted by LibreOffice to `ext`, timed as our read against its floor."""
    source = os.path.join(work, "case_a.xlsx")
    if not os.path.exists(source):
        _, _, samples, taxa, occ, _ = CASES["a"]
        subprocess.run([gen, source, str(samples), str(taxa), str(occ), "zeros"], check=True)
    book = os.path.join(work, "case_%s.%s" % (key, ext))
    outdir = os.path.join(work, "conv_" + key)
    converted = timed(["soffice", "-env:UserInstallation=" + lo_profile, "--headless",
                       "--convert-to", ext, "--outdir", outdir, source])
    shutil.move(os.path.join(outdir, "case_a." + ext), book)
    measured = {"convert": converted}
    runs = max(runs, 5)
    measured["read"] = min_run([cli, "sheets", book], runs)
    measured["dump"] = min_run(["sh", "-c", '"$0" dump "$1" > /dev/null', cli, book], runs)
    measured["assess"] = min_run([cli, "assess", book, "--database",
                                  os.path.join(work, "master10000.sqlite"),
                                  "-o", os.path.join(work, "out_%s.xlsx" % key)], runs)
    back = "csv" if ext == "ods" else "ods"
    measured["soffice"] = min_run(
        ["soffice", "-env:UserInstallation=" + lo_profile, "--headless", "--convert-to", back,
         "--outdir", os.path.join(work, "back_" + key), book], runs)
    if ext == "ods":
        measured["floor"] = min_run([floor, book, "content.xml"], runs)
    else:
        measured["floor"] = min_run(["wc", "-l", book], runs)
    cells = count_cells(cli, book)
    print("\n(%s) %s, %.1f MB, %.2f M cells (fastest of %d runs)"
          % (key, desc, os.path.getsize(book) / 1e6, cells / 1e6, runs))
    print("  %-34s %10s %12s %14s" % ("", "wall s", "peak MB", "M cells/s"))
    names = {"convert": "LibreOffice .xlsx to ." + ext, "read": "frusta2-cli sheets (read)",
             "dump": "frusta2-cli dump", "assess": "frusta2-cli assess",
             "soffice": "LibreOffice .%s to %s" % (ext, back),
             "floor": "inflate + expat floor" if ext == "ods" else "wc -l floor"}
    for k in ("convert", "read", "dump", "assess", "soffice", "floor"):
        rate = cells / measured[k][0] / 1e6 if measured[k][0] > 0 else float("inf")
        print("  %-34s %10.3f %12.0f %14.2f" % (names[k], measured[k][0], measured[k][1], rate))
    ratio = lambda a, b: measured[a][0] / measured[b][0] if measured[b][0] > 0 else float("inf")
    print("  ratios: read/floor %.2f (goal %s), read/LibreOffice %.3f, assess/LibreOffice %.3f"
          % (ratio("read", "floor"), "1.5" if ext == "ods" else "2", ratio("read", "soffice"),
             ratio("assess", "soffice")))
    sys.stdout.flush()
    return (key, desc, os.path.getsize(book), measured)


def count_cells(cli, book):
    """The number of non-empty cells of the workbook's first sheet, as frusta2-cli reads them."""
    p = subprocess.run(["sh", "-c", '"$0" dump "$1" | wc -l', cli, book], capture_output=True,
                       text=True, check=True)
    return int(p.stdout.split()[0])


def print_case(key, desc, size, cells, m, ext):
    peer = "openpyxl" if ext == "xlsx" else "xlrd"
    print("\n(%s) %s, %.1f MB, %.2f M cells" % (key, desc, size / 1e6, cells / 1e6))
    print("  %-26s %10s %12s %14s" % ("", "wall s", "peak MB", "M cells/s"))
    names = {"assess": "frusta2-cli assess", "read": "frusta2-cli dump", "soffice": "LibreOffice to CSV",
             "python": peer + " iterate", "floor": "inflate + expat floor"}
    for k in ("assess", "read", "soffice", "python", "floor"):
        if k in m:
            rate = cells / m[k][0] / 1e6 if m[k][0] > 0 else float("inf")
            print("  %-26s %10.2f %12.0f %14.2f" % (names[k], m[k][0], m[k][1], rate))
    ratio = lambda a, b: m[a][0] / m[b][0] if m[b][0] > 0 else float("inf")
    print("  ratios: assess/LibreOffice %.3f, read/LibreOffice %.3f, read/%s %.3f"
          % (ratio("assess", "soffice"), ratio("read", "soffice"), peer, ratio("read", "python")), end="")
    if "floor" in m:
        print(", assess/floor %.2f, read/floor %.2f" % (ratio("assess", "floor"), ratio("read", "floor")))
    else:
        print()


if __name__ == "__main__":
    main()
