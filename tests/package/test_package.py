"""The Debian package: built by CPack from the build, unpacked into a fresh root folder, its
files where the installed programs and the desktop expect them, and the installed programs
run from outside the source and build folders."""
import glob
import os
import re
import subprocess
import sys
import tempfile
import unittest

BUILD = os.path.dirname(os.environ["FRUSTA_PROGRAM_DIR"])
EXPECTED = [
    "opt/frusta2/frusta2", "opt/frusta2/frusta2-cli", "opt/frusta2/FRUSTA2.sqlite",
    "opt/frusta2/FRUSTA2.pdf", "opt/frusta2/TestData/FRUSTA2TestData.xls",
    "usr/share/applications/frusta2.desktop",
    "usr/share/icons/hicolor/scalable/apps/frusta2.svg",
    "usr/share/icons/hicolor/48x48/apps/frusta2.png",
    "usr/share/icons/hicolor/256x256/apps/frusta2.png",
    "usr/share/metainfo/io.github.frusta2.metainfo.xml",
    "usr/share/doc/frusta2/copyright", "usr/share/doc/frusta2/LICENSE",
    "usr/share/doc/frusta2/changelog.gz",
]


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=300, **kw)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        out = os.path.join(cls.tmp.name, "pkg")
        r = run(["cpack", "-G", "DEB", "-B", out], cwd=BUILD)
        assert r.returncode == 0, r.stdout + r.stderr
        debs = glob.glob(os.path.join(out, "frusta2_*_amd64.deb"))
        assert len(debs) == 1, debs
        cls.deb = debs[0]
        cls.root = os.path.join(cls.tmp.name, "root")
        r = run(["dpkg-deb", "-x", cls.deb, cls.root])
        assert r.returncode == 0, r.stderr

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def installed(self, link):
        """The file a /usr/bin link of the package points to, inside the unpacked root."""
        target = os.readlink(os.path.join(self.root, link))
        self.assertTrue(target.startswith("/opt/frusta2/"), target)
        return os.path.join(self.root, target.lstrip("/"))

    def test_name_version_and_fields(self):
        self.assertEqual(os.path.basename(self.deb), "frusta2_2.0.1_amd64.deb")
        fields = {}
        for f in ["Package", "Version", "Section", "Architecture", "Depends"]:
            fields[f] = run(["dpkg-deb", "-f", self.deb, f]).stdout.strip()
        self.assertEqual(fields["Package"], "frusta2")
        self.assertEqual(fields["Version"], "2.0.1")
        self.assertEqual(fields["Section"], "science")
        self.assertEqual(fields["Architecture"], "amd64")
        for lib in ["libqt6widgets6", "libxlsxwriter", "libmdb3", "libsqlite3-0", "libzip4"]:
            self.assertIn(lib, fields["Depends"])

    def test_installed_files(self):
        for path in EXPECTED:
            self.assertTrue(os.path.isfile(os.path.join(self.root, path)), path)
        for link in ["usr/bin/frusta2", "usr/bin/frusta2-cli"]:
            self.assertTrue(os.path.islink(os.path.join(self.root, link)), link)
            self.assertTrue(os.access(self.installed(link), os.X_OK))

    def test_installed_cli_assesses_the_installed_example(self):
        cli = self.installed("usr/bin/frusta2-cli")
        example = os.path.join(self.root, "opt/frusta2/TestData/FRUSTA2TestData.xls")
        with tempfile.TemporaryDirectory() as work:
            r = run([cli, "assess", example, "-o", "results.xlsx"], cwd=work)
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertIn("Metric:", r.stdout)
            self.assertTrue(os.path.getsize(os.path.join(work, "results.xlsx")) > 0)

    def test_installed_desktop_program_starts_and_quits(self):
        gui = self.installed("usr/bin/frusta2")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        with tempfile.TemporaryDirectory() as work:
            env["XDG_CONFIG_HOME"] = work
            # A workbook named on the command line opens nothing.
            example = os.path.join(self.root, "opt/frusta2/TestData/FRUSTA2TestData.xls")
            r = run([gui, "--quit-after-start", example], cwd=work, env=env)
            self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
            self.assertIn("master taxon list loaded, 0 documents open", r.stdout)
            # Nothing is written into the program folder at run time.
            self.assertEqual(sorted(os.listdir(os.path.join(self.root, "opt/frusta2"))),
                             ["FRUSTA2.pdf", "FRUSTA2.sqlite", "TestData", "frusta2", "frusta2-cli"])

    def test_help_of_the_installed_program_opens_the_installed_guide(self):
        """F1 in the installed desktop program, under a real X server, hands the installed
        FRUSTA2.pdf to the desktop's viewer; that file is the whole user guide."""
        gui = self.installed("usr/bin/frusta2")
        with tempfile.TemporaryDirectory() as work:
            opened = os.path.join(work, "opened.txt")
            tools = {"xdg-mime": "echo org.example.Viewer.desktop\n",
                     "xdg-open": 'echo "$1" >> %s\n' % opened}
            for name, body in tools.items():
                path = os.path.join(work, name)
                with open(path, "w") as f:
                    f.write("#!/bin/sh\n" + body)
                os.chmod(path, 0o755)
            # The first key press closes the splash window; F1 is pressed until the viewer
            # is asked for.
            drive = os.path.join(work, "drive.sh")
            with open(drive, "w") as f:
                f.write("""#!/bin/sh
"%s" & pid=$!
wid=$(xdotool search --sync --onlyvisible --name "FRUSTA2 - Periphyton Status Assessment" | head -1)
for i in $(seq 1 40); do
  [ -s "%s" ] && break
  xdotool windowfocus --sync "$wid" key F1 2>/dev/null
  sleep 0.5
done
kill $pid
""" % (gui, opened))
            env = dict(os.environ, XDG_CONFIG_HOME=work,
                       PATH=work + os.pathsep + os.environ["PATH"])
            r = run(["xvfb-run", "-a", "sh", drive], cwd=work, env=env)
            self.assertTrue(os.path.exists(opened), r.stdout + r.stderr)
            with open(opened) as f:
                self.assertEqual(f.read().split("\n")[0],
                                 os.path.join(self.root, "opt/frusta2/FRUSTA2.pdf"))
        guide = os.path.join(self.root, "opt/frusta2/FRUSTA2.pdf")
        info = run(["pdfinfo", guide]).stdout
        self.assertGreater(int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1)), 30)
        self.assertIn("FRUSTA 2 User Guide", run(["pdftotext", "-l", "1", guide, "-"]).stdout)

    def test_metainfo_and_desktop_entry_are_valid(self):
        r = run(["appstreamcli", "validate", "--no-net",
                 os.path.join(self.root, "usr/share/metainfo/io.github.frusta2.metainfo.xml")])
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        r = run(["desktop-file-validate", os.path.join(self.root, "usr/share/applications/frusta2.desktop")])
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)

    def test_lintian_reports_no_error(self):
        r = run(["lintian", "--fail-on", "error", self.deb])
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertNotIn("\nE: ", "\n" + r.stdout)


if __name__ == "__main__":
    sys.exit(unittest.main())
