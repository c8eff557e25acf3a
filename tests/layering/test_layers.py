"""The core's libraries, and the desktop program's above them, depend on each other one way, as
the CMakeLists.txt files declare them: a source of a library sees the folders of its declared
dependencies (directly or through others) and no other folder, so an include against the
layering fails to compile.

Each probe is compiled with the flags of a real source of the library, from the build's
compile_commands.json."""
import json
import os
import shlex
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.environ["FRUSTA_SOURCE_DIR"]
BUILD = os.path.dirname(os.environ["FRUSTA_PROGRAM_DIR"])


CORE = {"workbook", "refdb", "engine", "app", "doc", "output"}
GUI = {"gui/common", "gui/engine", "gui/output", "gui/doc", "gui/app"}


def declared_layers(file="layers.txt"):
    """{library: set of direct dependencies}, as configured."""
    layers = {}
    with open(os.path.join(BUILD, "layers", file), encoding="utf-8") as f:
        for line in f:
            name, _, deps = line.strip().partition(":")
            if name:
                layers[name] = {d for d in deps.split(",") if d}
    return layers


def gui_built():
    return os.path.exists(os.path.join(BUILD, "layers", "gui_layers.txt"))


def reachable(layers, name):
    seen, todo = set(), [name]
    while todo:
        for dep in layers[todo.pop()]:
            if dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def a_header(folder):
    for root, _, files in sorted(os.walk(os.path.join(SOURCE, folder))):
        for name in sorted(files):
            if name.endswith(".h"):
                return os.path.relpath(os.path.join(root, name), SOURCE)
    raise AssertionError("no header in " + folder)


def compile_args(folder):
    """The compiler and flags of a source file of `folder`, without its output and input."""
    with open(os.path.join(BUILD, "compile_commands.json"), encoding="utf-8") as f:
        commands = json.load(f)
    prefix = os.path.join(SOURCE, folder) + os.sep
    entry = next(c for c in commands if c["file"].startswith(prefix))
    args = shlex.split(entry["command"])
    out, skip = [], False
    for a in args:
        if skip:
            skip = False
        elif a in ("-o", "-c", "-MF", "-MT", "-MQ"):
            skip = a != "-c"
        elif a == entry["file"] or a in ("-MD", "-MMD"):
            continue
        else:
            out.append(a)
    return out, entry["directory"]


def compile_probe(folder, text, *extra):
    args, directory = compile_args(folder)
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as f:
        f.write(text)
    try:
        return subprocess.run(args + list(extra) + [f.name], cwd=directory, capture_output=True,
                              text=True)
    finally:
        os.remove(f.name)


class Layers(unittest.TestCase):
    def check_one_way(self, file, names, expected):
        """The layers declared in `file` are `names`, none depends on itself, and those of
        `expected` reach exactly the layers given."""
        layers = declared_layers(file)
        self.assertEqual(set(layers), names)
        for name in layers:
            self.assertNotIn(name, reachable(layers, name), name + " depends on itself")
        for name, deps in expected.items():
            self.assertEqual(reachable(layers, name), deps, name)
        return layers

    def test_the_layers_run_one_way(self):
        self.check_one_way("layers.txt", CORE,
                           {"workbook": set(), "engine": {"refdb"},
                            "output": {"doc", "engine", "app", "refdb", "workbook"}})

    def test_each_library_sees_exactly_its_dependencies(self):
        layers = declared_layers()
        self.check_visible_folders(layers, set(layers), set())

    def check_visible_folders(self, layers, folders, below):
        """Each library of `layers` sees, of `folders`, exactly itself, what it depends on
        and the folders `below` all of them."""
        probe = "".join('#if __has_include("%s")\nVISIBLE %s\n#endif\n' % (a_header(n), n)
                        for n in sorted(folders))
        for name in layers:
            with self.subTest(library=name):
                p = compile_probe(name, probe, "-E", "-P")
                self.assertEqual(p.returncode, 0, p.stderr)
                visible = {line.split()[1] for line in p.stdout.splitlines()
                           if line.startswith("VISIBLE ")}
                self.assertEqual(visible, reachable(layers, name) | {name} | below)

    @unittest.skipUnless(gui_built(), "the desktop program is not built")
    def test_the_desktop_folders_run_one_way_above_the_core(self):
        layers = self.check_one_way(
            "gui_layers.txt", GUI,
            {"gui/common": set(), "gui/output": {"gui/common"},
             "gui/app": {"gui/doc", "gui/output", "gui/engine", "gui/common"}})
        self.check_visible_folders(layers, GUI | CORE, CORE)

    def test_an_include_against_the_layers_fails_to_compile(self):
        cases = [("workbook", "engine/Assessment.h", False),
                 ("engine", "doc/CPbtDoc.h", False),
                 ("doc", "output/GridText.h", False),
                 ("output", "engine/Assessment.h", True)]
        if gui_built():
            cases += [("gui/common", "gui/output/GridView.h", False),
                      ("gui/output", "gui/doc/DocumentSession.h", False),
                      ("gui/doc", "gui/app/QtUserPort.h", False),
                      ("gui/engine", "gui/output/GridView.h", False),
                      ("gui/doc", "gui/output/GridWindows.h", True),
                      ("gui/app", "gui/doc/DocumentSession.h", True)]
        for folder, header, compiles in cases:
            with self.subTest(folder=folder, header=header):
                p = compile_probe(folder, '#include "%s"\n' % header, "-fsyntax-only")
                if compiles:
                    self.assertEqual(p.returncode, 0, p.stderr)
                else:
                    self.assertNotEqual(p.returncode, 0)
                    self.assertIn(header + ": No such file or directory", p.stderr)


if __name__ == "__main__":
    sys.exit(unittest.main())
