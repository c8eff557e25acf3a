"""The core stays free of Qt: no core source includes a Qt header, and no core target or
command-line target links a Qt library."""
import os
import re
import sys
import unittest

SOURCE = os.environ["FRUSTA_SOURCE_DIR"]
BUILD = os.path.dirname(os.environ["FRUSTA_PROGRAM_DIR"])
CORE_FOLDERS = ["app", "doc", "engine", "output", "refdb", "workbook", "cli"]
QT_INCLUDE = re.compile(r'^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)', re.M)


class CoreHasNoQt(unittest.TestCase):
    def test_no_core_source_includes_qt(self):
        offenders = []
        for folder in CORE_FOLDERS:
            for root, _, files in os.walk(os.path.join(SOURCE, folder)):
                for name in files:
                    if name.endswith((".h", ".cpp", ".in")):
                        path = os.path.join(root, name)
                        with open(path, encoding="utf-8", errors="replace") as f:
                            if QT_INCLUDE.search(f.read()):
                                offenders.append(os.path.relpath(path, SOURCE))
        self.assertEqual(offenders, [])

    def test_the_check_sees_a_qt_include(self):
        self.assertTrue(QT_INCLUDE.search("#include <QWidget>\n"))
        self.assertTrue(QT_INCLUDE.search('#include "QtCore/qglobal.h"\n'))
        self.assertFalse(QT_INCLUDE.search("#include <queue>\n"))

    def test_no_core_target_links_qt(self):
        with open(os.path.join(BUILD, "build.ninja"), encoding="utf-8") as f:
            ninja = f.read()
        # Each link or archive step: "build <output>: <rule> <inputs> ... LINK_LIBRARIES = ..."
        steps = re.split(r"\n(?=build )", ninja)
        checked = 0
        for step in steps:
            head = step.split("\n", 1)[0]
            m = re.match(r"build (\S+?): (CXX_EXECUTABLE_LINKER|CXX_STATIC_LIBRARY_LINKER)\S*", head)
            if not m:
                continue
            out = os.path.basename(m.group(1))
            # The desktop program's own targets are the ones built on the Qt library.
            if re.search(r"libfrusta_gui_\w+\.a", head) or " gui/CMakeFiles/" in head:
                continue
            checked += 1
            self.assertNotRegex(step, r"Qt6|libQt", out)
        self.assertGreater(checked, 3)
        archives = {os.path.basename(re.match(r"build (\S+?):", s).group(1))
                    for s in steps if s.startswith("build ") and "STATIC_LIBRARY" in s.split("\n", 1)[0]}
        for folder in CORE_FOLDERS[:-1]:
            self.assertIn("libfrusta_%s.a" % folder, archives)


if __name__ == "__main__":
    sys.exit(unittest.main())
