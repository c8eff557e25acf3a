"""The user guide FRUSTA2.pdf stays true to the program:
- every message the program can show (gathered from its sources) is in the guide's message
  tables, and every row of those tables is a message the program can show;
- every picture the guide names was taken by the screenshot tour of the build;
- the worked example's figures are those the program computes for the example dataset, and
  they follow from the formulas the guide gives;
- the PDF in the program folder is the whole guide, with its contents and page numbers."""
import json
import math
import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import guide_tables  # noqa: E402
import source_messages  # noqa: E402

SOURCE = os.environ.get("FRUSTA_SOURCE_DIR",
                        os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
PROGRAM = os.environ.get("FRUSTA_PROGRAM_DIR", os.path.join(SOURCE, "build", "bin"))
GUIDE_SOURCE = os.path.join(SOURCE, "res", "help")
HELP_BUILD = os.path.join(os.path.dirname(PROGRAM), "help")
PDF = os.path.join(PROGRAM, "FRUSTA2.pdf")
CLI = os.path.join(PROGRAM, "frusta2-cli")
EXAMPLE = os.path.join(PROGRAM, "TestData", "FRUSTA2TestData.xls")
DATABASE = os.path.join(PROGRAM, "FRUSTA2.sqlite")
# The worked example, as res/help/CMakeLists.txt makes it.
SHEET, METRIC, SITE = "Rivers", "TDI4", "SITE02"


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=300, **kw)


def pdf_text(first=None, last=None):
    cmd = ["pdftotext", "-layout"]
    if first:
        cmd += ["-f", str(first), "-l", str(last or first)]
    r = run(cmd + [PDF, "-"])
    assert r.returncode == 0, r.stderr
    return r.stdout


class Messages(unittest.TestCase):
    """The message tables against the messages gathered from the sources."""

    @classmethod
    def setUpClass(cls):
        cls.messages = source_messages.gather(SOURCE)
        cls.rows = guide_tables.read_tables(GUIDE_SOURCE)

    def test_gathering_finds_the_messages_of_every_kind(self):
        # A gatherer that finds nothing would let every table pass.
        kinds = {m.kind for m in self.messages}
        self.assertEqual(kinds, {"box", "cli", "summary", "comment"})
        texts = {m.text for m in self.messages}
        for known in ["Error reading file", "Save Results?",
                      "Error: indeterminate data in row %d, col %d",
                      "Lake typology information missing for %d samples with no default.\n"
                      "Correct the error and try again.",
                      "No matching taxa found", "frusta2-cli assess: unknown option %s"]:
            self.assertIn(known, texts)

    def test_every_message_is_in_the_guide(self):
        missing = []
        for m in self.messages:
            role = guide_tables.ROLE_OF_KIND[m.kind]
            if m.dynamic:
                found = any(m.dynamic in r.keys for r in self.rows if r.role == role)
                entry = "a row marked '// from: %s'" % m.dynamic
            else:
                text = guide_tables.normalize(m.text)
                found = any(r.role == role and not r.keys and guide_tables.matches(r.text, text)
                            for r in self.rows)
                entry = guide_tables.as_table_text(m.text)
            if not found:
                missing.append("%s (%s, shown at %s):\n%s" % (role, m.kind, m.where, entry))
        self.assertEqual(missing, [], "messages of the program missing from the guide's "
                         "tables (res/help/messages.adoc):\n\n" + "\n\n".join(missing))

    def test_every_row_is_a_message_of_the_program(self):
        stale = []
        dynamic = {m.dynamic for m in self.messages if m.dynamic}
        for r in self.rows:
            if r.keys:
                stale += ["%s: '// from: %s' names no call that shows a message" % (r.where, k)
                          for k in r.keys if k not in dynamic]
                continue
            if not r.text:
                stale.append("%s: a row without a +message+ text" % r.where)
                continue
            if not any(guide_tables.ROLE_OF_KIND[m.kind] == r.role and not m.dynamic and
                       guide_tables.matches(r.text, guide_tables.normalize(m.text))
                       for m in self.messages):
                stale.append("%s: %s" % (r.where, r.text))
        self.assertEqual(stale, [], "rows of the guide's message tables that the program "
                         "does not show (a changed or removed message?):\n" + "\n".join(stale))


def built_with_desktop_program():
    """Whether the build made the desktop program, and so the guide's pictures."""
    cache = os.path.join(os.path.dirname(PROGRAM), "CMakeCache.txt")
    with open(cache, encoding="utf-8") as f:
        return not re.search(r"^FRUSTA_BUILD_GUI:BOOL=(OFF|NO|FALSE|0)$", f.read(), re.M)


@unittest.skipUnless(built_with_desktop_program(), "built without the desktop program")
class Pictures(unittest.TestCase):
    def test_every_picture_named_was_taken(self):
        shots = os.path.join(HELP_BUILD, "screenshots")
        named = guide_tables.pictures(GUIDE_SOURCE)
        self.assertGreater(len(named), 10)
        missing = ["%s: %s" % (where, name) for name, where in named
                   if not os.path.isfile(os.path.join(shots, name))]
        self.assertEqual(missing, [], "pictures that the guide names but the screenshot tour "
                         "(frusta2-tour --example-only) did not take, in %s:\n%s"
                         % (shots, "\n".join(missing)))

    def test_the_pdf_was_made_after_the_pictures(self):
        # The build renders the guide from the tour's pictures, never from older ones.
        shots = os.path.join(HELP_BUILD, "screenshots")
        newest = max(os.path.getmtime(os.path.join(shots, f)) for f in os.listdir(shots))
        self.assertGreaterEqual(os.path.getmtime(PDF), newest)


def two(v):
    return "..." if v is None else "%.2f" % v


def count(v):
    if v is None:
        return "..."
    return "%d" % v if float(v).is_integer() else "%.2f" % v


class WorkedExample(unittest.TestCase):
    """The worked example against a fresh assessment of the example dataset."""

    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "results.json")
            r = run([CLI, "assess", EXAMPLE, "--sheet", SHEET, "--metric", METRIC,
                     "--database", DATABASE, "-o", out, "--format", "json"])
            assert r.returncode == 0, r.stderr
            with open(out, encoding="utf-8") as f:
                cls.doc = json.load(f)
        cls.samples = [s for s in cls.doc["samples"] if s["info"].get("Site code") == SITE]
        cls.site = next(s for s in cls.doc["sites"] if s["Site code"] == SITE)
        with open(os.path.join(HELP_BUILD, "worked-example.adoc"), encoding="utf-8") as f:
            cls.attributes = dict(re.findall(r"^:([\w-]+):[ ]?(.*)$", f.read(), re.M))
        text = pdf_text()
        start = text.index("A worked example\n", text.index("A worked example") + 1)
        cls.section = text[start:text.index("Where FRUSTA 2 departs", start)]

    def expected_attributes(self):
        want = {"wx-worksheet": SHEET, "wx-metric": METRIC, "wx-site": SITE,
                "wx-samples": str(len(self.samples))}
        for i, s in enumerate(self.samples, 1):
            r = s["results"]
            p = "wx-s%d-" % i
            env = list(s["info"].values())[3]
            want.update({p + "name": s["info"]["Sample name"],
                         p + "env": env if isinstance(env, str) else two(env),
                         p + "sum": count(r["Sample sum"]),
                         p + "scored": count(r["Sum " + METRIC]),
                         p + "metric": two(r[METRIC]),
                         p + "expected": two(r["e" + METRIC]),
                         p + "eqr": two(r["EQR " + METRIC]),
                         p + "class": s["class"] or "",
                         p + "comment": s["comment"] or "none"})
        site = self.site
        want.update({"wx-site-n": "%d" % site["No. Samples"],
                     "wx-site-missing": "%d" % site["No. missing"],
                     "wx-site-mean": two(site["Mean EQR"]), "wx-site-class": site["Class"]})
        for key, name in [("CoC High", "coc-high"), ("CoC Good", "coc-good"),
                          ("CoC Mod", "coc-mod"), ("CoC Poor", "coc-poor"),
                          ("CoC Bad", "coc-bad"), ("RoM", "rom"), ("CoC HG", "coc-hg"),
                          ("CoC MPB", "coc-mpb"), ("RoM-G/M", "rom-gm")]:
            want["wx-site-" + name] = two(site[key])
        own = ["CoC High", "CoC Good", "CoC Mod", "CoC Poor", "CoC Bad"][site["classCode"] - 1]
        want["wx-site-coc-class"] = two(site[own])
        return want

    def boundaries(self):
        """The metric's class boundaries, read from the database by position as the
        program reads them: the four columns after "MedianTDI"."""
        with sqlite3.connect(DATABASE) as db:
            cursor = db.execute("SELECT * FROM Boundaries WHERE SiteType = ?", (METRIC,))
            names = [d[0].lower() for d in cursor.description]
            row = cursor.fetchone()
        at = names.index("mediantdi") + 1
        return dict(zip(("wx-hg", "wx-gm", "wx-mp", "wx-pb"), (two(v) for v in row[at:at + 4])))

    def test_the_figures_made_for_the_guide_are_the_programs(self):
        want = self.expected_attributes()
        want.update(self.boundaries())
        wrong = ["%s: the guide has %r, the program computes %r" % (k, self.attributes.get(k), v)
                 for k, v in want.items() if self.attributes.get(k) != v]
        self.assertEqual(wrong, [], "build/help/worked-example.adoc")

    def test_the_pdf_shows_the_figures(self):
        section = self.section
        a = self.expected_attributes()
        a.update(self.boundaries())
        for i in range(1, len(self.samples) + 1):
            p = "wx-s%d-" % i
            cells = [a[p + k] for k in ("name", "env", "sum", "scored", "metric", "expected",
                                        "eqr", "class") if a[p + k]]
            row = r"\s+".join(re.escape(c) for c in cells)
            self.assertRegex(section, row, "the table row of sample %s" % a[p + "name"])
        site = r"\s+".join(re.escape(a["wx-site-" + k]) for k in (
            "coc-high", "coc-good", "coc-mod", "coc-poor", "coc-bad", "rom", "coc-hg",
            "coc-mpb", "rom-gm"))
        self.assertRegex(section, site, "the table of the site's figures")
        flat = re.sub(r"\s+", " ", section)
        for figure in ["log10(%s)) = %s" % (a["wx-s1-env"], a["wx-s1-expected"]),
                       "(100 − %s) / (100 − %s) = %s" % (a["wx-s1-metric"], a["wx-s1-expected"],
                                                       a["wx-s1-eqr"]),
                       "%s (High/Good), %s (Good/Moderate), %s" % (a["wx-hg"], a["wx-gm"],
                                                                   a["wx-mp"]),
                       "mean of the %s EQRs is %s, class %s" % (a["wx-site-n"], a["wx-site-mean"],
                                                              a["wx-site-class"]),
                       "confidence of %s %% in that class" % a["wx-site-coc-class"]]:
            self.assertIn(figure, flat)
        self.assertNotIn("{wx-", section)

    def test_the_figures_follow_the_guides_formulas(self):
        first = self.samples[0]["results"]
        alkalinity = float(list(self.samples[0]["info"].values())[3])
        # The worked example works eTDI4 out from the first sample's own alkalinity.
        self.assertAlmostEqual(9.933 * math.exp(0.81 * math.log10(alkalinity)),
                               first["eTDI4"], places=9)
        bounds = [float(v) for v in self.boundaries().values()]
        names = ["High", "Good", "Moderate", "Poor", "Bad"]
        eqrs = []
        for s in self.samples:
            r = s["results"]
            eqr = min(1.0, 0.8 * (100 - r["TDI4"]) / (100 - r["eTDI4"]))
            self.assertAlmostEqual(eqr, r["EQR TDI4"], places=12)
            self.assertEqual(s["class"], names[next((k for k, b in enumerate(bounds)
                                                     if eqr >= b), 4)])
            eqrs.append(eqr)
        site = self.site
        self.assertAlmostEqual(sum(eqrs) / len(eqrs), site["Mean EQR"], places=12)
        coc = [site[k] for k in ("CoC High", "CoC Good", "CoC Mod", "CoC Poor", "CoC Bad")]
        self.assertAlmostEqual(sum(coc), 100.0, places=9)
        self.assertAlmostEqual(site["RoM"], 100 - coc[names.index(site["Class"])], places=9)
        self.assertAlmostEqual(site["CoC HG"], coc[0] + coc[1], places=9)
        self.assertAlmostEqual(site["CoC MPB"], sum(coc[2:]), places=9)


class Document(unittest.TestCase):
    def test_the_program_folder_holds_the_whole_guide(self):
        info = run(["pdfinfo", PDF])
        self.assertEqual(info.returncode, 0, info.stderr)
        pages = int(re.search(r"^Pages:\s+(\d+)", info.stdout, re.M).group(1))
        self.assertGreater(pages, 30)
        contents = pdf_text(2, 3)
        self.assertIn("Contents", contents)
        # The chapters with the pages they start on, in order.
        chapters = [int(p) for p in re.findall(r"^\s*\d+\. \S.*?[ .]+(\d+)\s*$", contents, re.M)]
        self.assertGreaterEqual(len(chapters), 8)
        self.assertEqual(chapters, sorted(chapters))
        self.assertLessEqual(chapters[-1], pages)

    def test_every_page_of_the_text_has_its_number(self):
        info = run(["pdfinfo", PDF]).stdout
        pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
        text = pdf_text()
        self.assertNotRegex(text, r"\{wx-|\{generated\}|Unresolved directive|\[Image: ")
        chapter_pages = text.split("\f")[:pages]
        numbered = [p for p in chapter_pages if re.search(r"^\s*\d+\s+FRUSTA 2 User Guide\s*$|"
                                                          r"FRUSTA 2 User Guide\s+\d+\s*$",
                                                          p.rstrip(), re.M)]
        # All but the title page and the contents.
        self.assertGreaterEqual(len(numbered), pages - 3)


if __name__ == "__main__":
    unittest.main()
