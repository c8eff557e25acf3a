"""scripts/setup.sh names real Debian packages: on a machine it has set up, dpkg-query reports
every one of them installed, so that the next run finds nothing missing and never reaches for
the network. A virtual or transitional name (libqt6svg6-dev, which qt6-svg-dev provides) is
never reported installed."""
import os
import re
import subprocess
import tempfile
import unittest

SETUP = os.path.join(os.environ.get("FRUSTA_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "../..")),
                     "scripts/setup.sh")


def packages():
    with open(SETUP) as f:
        text = f.read()
    block = re.search(r"PACKAGES=\((.*?)\)", text, re.S).group(1)
    return [word for line in block.splitlines() for word in line.split("#")[0].split()]


def installed(package):
    p = subprocess.run(["dpkg-query", "-W", "-f=${Status}", package], capture_output=True, text=True)
    return p.returncode == 0 and p.stdout.strip() == "install ok installed"


class Setup(unittest.TestCase):
    def test_every_package_is_a_real_installed_one(self):
        names = packages()
        self.assertIn("qt6-svg-dev", names)
        self.assertEqual([n for n in names if not installed(n)], [])

    def test_a_second_run_installs_nothing(self):
        # apt-get is a stand-in that fails: were anything missing, the run would fail here
        # rather than reach for the network.
        with tempfile.TemporaryDirectory() as bin_dir:
            stub = os.path.join(bin_dir, "apt-get")
            with open(stub, "w") as f:
                f.write("#!/bin/sh\necho \"apt-get $*\" >&2\nexit 1\n")
            os.chmod(stub, 0o755)
            p = subprocess.run(["bash", SETUP], capture_output=True, text=True, timeout=60,
                               env=dict(os.environ, PATH=bin_dir + ":/usr/sbin:/usr/bin:/sbin:/bin"))
        self.assertEqual((p.returncode, p.stdout), (0, "setup: all packages present\n"), p.stderr)


if __name__ == "__main__":
    unittest.main()
