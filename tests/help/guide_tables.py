"""The user guide's source as the checks read it: the message tables and the pictures.

A message table is an AsciiDoc table whose role is "messages", "summary" or "comments"
(`[.messages,cols=...]`). Its first cell in each row holds the text of one message, written
in +...+ segments, one per line of the message; a row that stands for a text supplied from
elsewhere is preceded by a comment line "// from: NAME[, NAME]".
"""
import glob
import os
import re
from dataclasses import dataclass, field

ROLES = ("messages", "summary", "comments")
# Which table a gathered message belongs in.
ROLE_OF_KIND = {"box": "messages", "cli": "messages", "summary": "summary",
                "comment": "comments"}


@dataclass
class Row:
    role: str
    text: str  # the message as the table writes it, lines joined by a space
    keys: list = field(default_factory=list)  # the "from:" names
    where: str = ""


def normalize(text):
    """Line breaks and tabs count as one space each; runs of spaces as one."""
    return re.sub(r"\s+", " ", text.replace("\t", " ")).strip()


def _segments(cell):
    return [s for s in re.findall(r"\+([^+\n]+)\+", cell)]


def _cells(body, first_line):
    """Splits a table body into cells (kind, text, line): each begins with | at a line's
    start or after a space. Comment lines become ("from", names, line) markers."""
    cells = []
    for n, line in enumerate(body.split("\n"), first_line):
        m = re.match(r"\s*//\s*from:\s*(.*)$", line)
        if m:
            cells.append(("from", [k.strip() for k in m.group(1).split(",") if k.strip()], n))
            continue
        if line.lstrip().startswith("//"):
            continue
        parts = re.split(r"(?:^|(?<=\s))\|", line)
        if len(parts) == 1:
            if cells and cells[-1][0] == "cell":
                cells[-1] = ("cell", cells[-1][1] + "\n" + line, cells[-1][2])
            continue
        head, rest = parts[0], parts[1:]
        if head.strip() and cells and cells[-1][0] == "cell":
            cells[-1] = ("cell", cells[-1][1] + "\n" + head, cells[-1][2])
        for p in rest:
            cells.append(("cell", p, n))
    return cells


def read_tables(folder):
    """Every row of every message table of the guide's source in `folder`."""
    rows = []
    for path in sorted(glob.glob(os.path.join(folder, "*.adoc"))):
        with open(path, encoding="utf-8") as f:
            text = f.read()
        pattern = re.compile(r"^\[\.(%s)\b([^\]]*)\]\n\|===\n(.*?)\n\|===$" % "|".join(ROLES),
                             re.M | re.S)
        for m in pattern.finditer(text):
            role, attrs, body = m.group(1), m.group(2), m.group(3)
            cols = re.search(r'cols="([^"]*)"', attrs)
            ncols = len(cols.group(1).split(",")) if cols else 1
            header = "options=header" in attrs or "%header" in attrs
            cells = _cells(body, text.count("\n", 0, m.start(3)) + 1)
            keys, index = [], 0
            for kind, value, line in cells:
                if kind == "from":
                    keys += value
                    continue
                if index % ncols == 0 and not (header and index < ncols):
                    segments = _segments(value)
                    rows.append(Row(role, normalize(" ".join(segments)), keys,
                                    "%s:%d" % (os.path.basename(path), line)))
                    keys = []
                index += 1
    return rows


def matches(row_text, message_text):
    """Whether a table row stands for a gathered message. A %s of the row also stands for
    any text of the message within one line (a metric's name, a reason of several words)."""
    if row_text == message_text:
        return True
    if "%s" not in row_text:
        return False
    pattern = "".join(r"(?:%s|[^\n]+?)" if p == "%s" else re.escape(p)
                      for p in re.split(r"(%s)", row_text))
    return re.fullmatch(pattern, message_text) is not None


def as_table_text(text):
    """A gathered message as a table's first cell writes it."""
    return " +\n".join("+%s+" % line for line in text.replace("\t", " ").split("\n"))


def pictures(folder):
    """The names of the pictures that the guide's source shows: (name, file:line)."""
    out = []
    for path in sorted(glob.glob(os.path.join(folder, "*.adoc"))):
        with open(path, encoding="utf-8") as f:
            for n, line in enumerate(f, 1):
                for m in re.finditer(r"\bimage::?([^\[\s]+)\[", line):
                    out.append((m.group(1), "%s:%d" % (os.path.basename(path), n)))
    return out
