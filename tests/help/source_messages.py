"""The texts that FRUSTA 2 shows its users, gathered from the program's C++ sources.

Four kinds are gathered:
- "box": the texts of message boxes: every call `x.message(TEXT, ...)` of the
  user-interaction port, `x.notify(NOTICE)` and `fail(port, NOTICE)` (a notice's text and
  its detail: `{TEXT, DETAIL}`), `QMessageBox::warning(parent, title, TEXT)` and its
  siblings, `setInformativeText(TEXT)`, and the messages the assessment engine hands back
  for the user (`x.stopMessage = TEXT`, `messages.push_back(TEXT)`);
- "cli": the lines that the command line writes to standard error (`err << ...`,
  `std::cerr << ...`);
- "summary": the notes written into the job summary (`m_strSummary += TEXT` and the
  references that stand for it, and the engine's notes for it: `summaryNotes += TEXT`,
  `notes += TEXT`);
- "comment": the comments written for a sample (`m_comments[s] += TEXT`, the engine's
  `comment += TEXT`, and references and reference parameters that stand for a comment).

A helper function that hands one of its parameters to one of these (a "forwarder", such as
the reader's `fail(message)` or the command line's `say(text)`) becomes one itself, so the
calls of the helper are gathered too; new helpers are found the same way.

Each text is rendered as a pattern: literal parts as written, %d for a number from
std::to_string, %g for formatG, the format string of formatText, and %s for any other
value that the sources cannot tell (a file name, a reason). A text that is nothing but one
value returned by a call (the library's error message, the database's error report) cannot
be rendered; it is gathered as "dynamic" with the name of that call as its key.

The C++ is read with a small tokenizer and a few patterns, not a compiler: enough for the
way this program builds its texts (literals, +, formatText, named constants, small
functions returning texts, fields of constant structs, ternaries).
"""
import itertools
import os
import re
from dataclasses import dataclass, field

SOURCE_DIRS = ["app", "doc", "engine", "output", "refdb", "workbook", "cli", "gui"]
# Developer tools, not the programs.
EXCLUDED_DIRS = ["gui/tour", "gui/tools"]

# ---------------------------------------------------------------------------------------
# Tokens

_TOKEN = re.compile(r"""
    (?P<ws>\s+)
  | (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<pre>^[ \t]*\#[^\n]*(?:\\\n[^\n]*)*)
  | (?P<raw>R"(?P<delim>[^(\s]*)\((?P<rawbody>.*?)\)(?P=delim)")
  | (?P<str>(?:u8|u|U|L)?"(?:[^"\\\n]|\\.)*")
  | (?P<chr>'(?:[^'\\\n]|\\.)+')
  | (?P<num>\.?\d[\w.']*)
  | (?P<id>[A-Za-z_]\w*(?:::~?[A-Za-z_]\w*)*)
  | (?P<op>::|->|<<=|>>=|<<|>>|\+\+|--|\+=|-=|\*=|/=|==|!=|<=|>=|&&|\|\||.)
""", re.S | re.M | re.X)

_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'",
            "a": "\a", "b": "\b", "f": "\f", "v": "\v", "?": "?"}


def _unescape(body):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == "\\" and i + 1 < len(body):
            n = body[i + 1]
            octal = re.match(r"[0-7]{1,3}", body[i + 1:])
            if octal:
                out.append(chr(int(octal.group(0), 8)))
                i += 1 + len(octal.group(0))
                continue
            if n == "x":
                m = re.match(r"[0-9A-Fa-f]+", body[i + 2:])
                out.append(chr(int(m.group(0), 16)))
                i += 2 + len(m.group(0))
                continue
            out.append(_ESCAPES.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


@dataclass
class Tok:
    kind: str  # "str", "chr", "num", "id", "op"
    text: str  # the token; for "str" and "chr" the value
    line: int


def tokenize(source):
    toks = []
    for m in _TOKEN.finditer(source):
        kind = m.lastgroup
        if kind in ("ws", "comment", "pre"):
            continue
        line = source.count("\n", 0, m.start()) + 1
        if kind == "raw":
            toks.append(Tok("str", m.group("rawbody"), line))
        elif kind == "str":
            toks.append(Tok("str", _unescape(m.group(0)[m.group(0).index('"') + 1:-1]), line))
        elif kind == "chr":
            toks.append(Tok("chr", _unescape(m.group(0)[1:-1]), line))
        elif kind == "delim" or kind == "rawbody":
            continue
        else:
            toks.append(Tok(kind if kind in ("num", "id") else "op", m.group(0), line))
    # Adjacent literals are one literal.
    merged = []
    for t in toks:
        if t.kind == "str" and merged and merged[-1].kind == "str":
            merged[-1] = Tok("str", merged[-1].text + t.text, merged[-1].line)
        else:
            merged.append(t)
    return merged


_OPEN = {"(": ")", "[": "]", "{": "}"}


def _close(toks, i):
    """Index of the bracket that closes the one at i."""
    depth, want = 0, []
    for j in range(i, len(toks)):
        t = toks[j].text if toks[j].kind == "op" else None
        if t in _OPEN:
            want.append(_OPEN[t])
        elif want and t == want[-1]:
            want.pop()
            if not want:
                return j
    return len(toks) - 1


def _split_top(toks, sep):
    """Splits a token list at top-level `sep` operators."""
    parts, cur, depth = [], [], 0
    for t in toks:
        if t.kind == "op" and t.text in _OPEN:
            depth += 1
        elif t.kind == "op" and t.text in (")", "]", "}"):
            depth -= 1
        if depth == 0 and t.kind == "op" and t.text == sep:
            parts.append(cur)
            cur = []
        else:
            cur.append(t)
    parts.append(cur)
    return parts


def _statement_end(toks, i, stops=(";",)):
    """Index of the first top-level token at or after i that is one of `stops`."""
    end = i
    while end < len(toks) and toks[end].text not in stops:
        if toks[end].text in _OPEN:
            end = _close(toks, end)
        end += 1
    return end


# ---------------------------------------------------------------------------------------
# What the sources declare

_NOT_FUNCTIONS = {"if", "for", "while", "switch", "catch", "return", "sizeof", "decltype",
                  "static_assert", "alignof", "noexcept", "defined", "throw", "new", "delete"}


@dataclass
class Param:
    name: str
    type: str  # the type's tokens joined by spaces


@dataclass
class Function:
    name: str  # unqualified
    params: list
    body: list  # tokens between the braces
    file: str

    def param_index(self, name):
        for i, p in enumerate(self.params):
            if p.name == name:
                return i
        return None


def _parse_params(toks):
    params = []
    if not toks or (len(toks) == 1 and toks[0].text == "void"):
        return params
    for part in _split_top(toks, ","):
        part = _split_top(part, "=")[0]  # default argument
        ids = [t for t in part if t.kind == "id"]
        if not ids:
            continue
        name = ids[-1].text if len(ids) > 1 or part[-1].kind == "id" else ""
        params.append(Param(name, " ".join(t.text for t in part)))
    return params


@dataclass
class Sources:
    functions: list = field(default_factory=list)
    constants: dict = field(default_factory=dict)   # name -> [expression tokens]
    structs: dict = field(default_factory=dict)     # struct name -> [field names]
    instances: dict = field(default_factory=dict)   # struct name -> [{field: tokens}]
    field_values: dict = field(default_factory=dict)  # field name -> [expression tokens]
    files: dict = field(default_factory=dict)       # file -> tokens

    def functions_named(self, name, arity=None):
        return [f for f in self.functions
                if f.name == name and (arity is None or _accepts(f, arity))]


def _accepts(f, arity):
    required = sum(1 for p in f.params if "=" not in p.type)
    return required <= arity <= len(f.params) or (not f.params and arity == 0)


def _find_functions(toks, file, out):
    """Function definitions; returns the token ranges of their bodies."""
    bodies = []
    i = 0
    while i < len(toks):
        t = toks[i]
        if (t.kind == "id" and i + 1 < len(toks) and toks[i + 1].text == "("
                and t.text.split("::")[-1] not in _NOT_FUNCTIONS
                and not (i > 0 and toks[i - 1].text in (".", "->", "=", "return", ","))):
            close = _close(toks, i + 1)
            j = close + 1
            # Qualifiers and a constructor's initialiser list, up to the body.
            while j < len(toks) and toks[j].text not in ("{", ";", ")", ",", "=", "}"):
                if toks[j].text == ":":
                    while j < len(toks) and toks[j].text != "{" and toks[j].text != ";":
                        if toks[j].text in ("(",):
                            j = _close(toks, j)
                        j += 1
                    break
                if toks[j].text in ("(", "["):
                    j = _close(toks, j)
                j += 1
            if j < len(toks) and toks[j].text == "{" and close > i + 1 - 1:
                end = _close(toks, j)
                name = t.text.split("::")[-1]
                out.append(Function(name, _parse_params(toks[i + 2:close]), toks[j + 1:end],
                                    file))
                bodies.append((j + 1, end))
                # Lambdas and local classes inside are searched as well.
                i = j + 1
                continue
        i += 1
    return bodies


def _find_structs(toks, out):
    for i, t in enumerate(toks):
        if t.text in ("struct", "class") and i + 2 < len(toks) and toks[i + 1].kind == "id" \
                and toks[i + 2].text == "{":
            end = _close(toks, i + 2)
            fields, stmt = [], []
            depth = 0
            for u in toks[i + 3:end]:
                if u.text in _OPEN:
                    depth += 1
                elif u.text in (")", "]", "}"):
                    depth -= 1
                    if depth == 0 and u.text == "}":
                        stmt = []
                        continue
                if depth == 0 and u.text == ";":
                    decl = _split_top(stmt, "=")[0]
                    decl = _split_top(decl, "{")[0] if decl and decl[-1].text != "}" else decl
                    if decl and not any(x.text == "(" for x in decl) \
                            and decl[0].text not in ("using", "friend", "static", "typedef"):
                        ids = [x for x in decl if x.kind == "id"]
                        if len(ids) >= 2:
                            fields.append(ids[-1].text)
                    stmt = []
                elif depth == 0 and u.text in (":",) and stmt and stmt[-1].text in (
                        "public", "private", "protected"):
                    stmt = []
                else:
                    stmt.append(u)
            out.structs.setdefault(toks[i + 1].text, fields)


def _find_definitions(toks, out, bodies):
    """Named constants (outside functions), struct instances and assignments to fields."""
    inside = [False] * len(toks)
    for start, end in bodies:
        for k in range(start, end):
            inside[k] = True
    for i, t in enumerate(toks):
        if t.kind != "id" or i + 1 >= len(toks):
            continue
        nxt = toks[i + 1].text
        prev = toks[i - 1] if i > 0 else None
        if nxt == "=" and prev is not None and (prev.kind == "id" or prev.text in ("*", "&")):
            # TYPE NAME = EXPR ;
            end = _statement_end(toks, i + 2)
            expr = toks[i + 2:end]
            if expr and expr[0].text == "{" and prev.kind == "id" and prev.text in out.structs:
                _add_instance(out, prev.text, expr[1:-1])
            elif any(x.kind == "str" for x in expr) and not inside[i]:
                out.constants.setdefault(t.text, []).append(expr)
        elif nxt == "{" and prev is not None and prev.kind == "id" and prev.text in out.structs:
            # TYPE NAME{...};
            end = _close(toks, i + 1)
            _add_instance(out, prev.text, toks[i + 2:end])
        elif nxt == "=" and prev is not None and prev.text in (".", "->"):
            end = _statement_end(toks, i + 2)
            out.field_values.setdefault(t.text, []).append(toks[i + 2:end])


def _add_instance(out, struct, init):
    names = out.structs.get(struct, [])
    values = _split_top(init, ",")
    instance = {names[k]: v for k, v in enumerate(values) if k < len(names)}
    out.instances.setdefault(struct, []).append(instance)
    for name, v in instance.items():
        out.field_values.setdefault(name, []).append(v)


def read_sources(root):
    """Reads every C++ source of the programs under `root`."""
    src = Sources()
    for d in SOURCE_DIRS:
        for folder, _, files in os.walk(os.path.join(root, d)):
            rel = os.path.relpath(folder, root).replace(os.sep, "/")
            if any(rel == x or rel.startswith(x + "/") for x in EXCLUDED_DIRS):
                continue
            for name in sorted(files):
                if name.endswith((".cpp", ".h")):
                    path = os.path.join(folder, name)
                    with open(path, encoding="utf-8") as f:
                        src.files[os.path.relpath(path, root)] = tokenize(f.read())
    return _index(src)


def read_texts(texts):
    """Reads source texts given as {file name: text} (for tests of this module)."""
    src = Sources()
    for name, text in texts.items():
        src.files[name] = tokenize(text)
    return _index(src)


def _index(src):
    for toks in src.files.values():
        _find_structs(toks, src)
    for file, toks in src.files.items():
        bodies = _find_functions(toks, file, src.functions)
        _find_definitions(toks, src, bodies)
    return src


# ---------------------------------------------------------------------------------------
# Rendering an expression into text patterns

PLACEHOLDER = "\x00"  # stands for a value; becomes %s, %d or %g
_MAX_ALTERNATIVES = 64
_MAX_DEPTH = 6


@dataclass(frozen=True)
class Text:
    """One rendering of an expression: its text, and what it is when it is one value."""
    text: str
    param: int = None  # the whole text is parameter `param` of the function
    dynamic: str = None  # the whole text is the value of this call

    @staticmethod
    def value(kind="s"):
        return Text("%" + kind)


_WRAPPERS = {"std::string", "QString", "QString::fromStdString", "QString::fromUtf8",
             "QString::fromLocal8Bit", "QString::fromLatin1", "std::move", "tr",
             "std::string_view", "QStringLiteral", "QLatin1String", "qPrintable"}
_SAME_VALUE_METHODS = {"c_str", "string", "toStdString", "data", "str", "toUtf8",
                       "constData", "trimmed"}


class Context:
    """Where an expression is rendered: its function and the values of its parameters and
    of the structs its parameters stand for."""

    def __init__(self, src, function=None, bindings=None, depth=0):
        self.src = src
        self.function = function
        self.bindings = bindings or {}
        self.depth = depth

    def locals_named(self, name):
        """The expressions assigned to a local variable, and those appended to it."""
        if not self.function:
            return [], []
        assigned, appended = [], []
        body = self.function.body
        for i, t in enumerate(body):
            if t.kind != "id" or t.text != name or i + 1 >= len(body):
                continue
            op = body[i + 1].text
            declared = i > 0 and (body[i - 1].kind == "id" or body[i - 1].text in ("*", "&"))
            member = i > 0 and body[i - 1].text in (".", "->")
            if (op == "=" and declared) or (op == "+=" and not member):
                end = _statement_end(body, i + 2, (";", ")"))
                (assigned if op == "=" else appended).append(body[i + 2:end])
        return assigned, appended


def _product(parts):
    out = [Text("")]
    for alts in parts:
        out = [Text(a.text + b.text) for a, b in itertools.product(out, alts)]
        out = list(dict.fromkeys(out))[:_MAX_ALTERNATIVES]
    return out


def render(expr, ctx, whole=True):
    """The renderings of an expression: a list of Text. `whole`: the expression is the
    whole text, not a part of a larger one."""
    expr = list(expr)
    while expr and expr[0].kind == "op" and expr[0].text in ("*", "&", "!"):
        expr = expr[1:]
    if not expr:
        return [Text.value()]
    # a ? b : c
    q = _split_top(expr, "?")
    if len(q) > 1:
        rest = [t for part in q[1:] for t in part]  # b : c (nested ternaries are rare)
        branches = _split_top(rest, ":")
        out = []
        for b in branches:
            out += render(b, ctx, whole)
        return list(dict.fromkeys(out))
    parts = _split_top(expr, "+")
    if len(parts) > 1 and all(parts):
        rendered = [render(p, ctx, False) for p in parts]
        return _product([[Text(a.text) for a in alts] for alts in rendered])
    return _primary(expr, ctx, whole)


def _primary(expr, ctx, whole=True):
    t = expr[0]
    if t.kind == "str":
        return [Text(t.text)] if len(expr) == 1 else _postfix(expr, [Text(t.text)], 1, ctx)
    if t.kind == "chr":
        return [Text(t.text)]
    if t.kind == "num":
        return [Text(t.text)]
    if t.text == "(":
        close = _close(expr, 0)
        inner = render(expr[1:close], ctx, whole and close == len(expr) - 1)
        return _postfix(expr, inner, close + 1, ctx)
    if t.kind != "id":
        return [Text.value()]
    name = t.text
    if len(expr) > 1 and expr[1].text == "(":
        close = _close(expr, 1)
        args = [a for a in _split_top(expr[2:close], ",") if a]
        result = _call(name, args, ctx)
        return _postfix(expr, result, close + 1, ctx)
    if len(expr) > 1 and expr[1].text == "{" and name in _WRAPPERS:
        close = _close(expr, 1)
        return _postfix(expr, render(expr[2:close], ctx), close + 1, ctx)
    if len(expr) > 2 and expr[1].text in (".", "->") and expr[2].kind == "id" \
            and not (len(expr) > 3 and expr[3].text == "("):
        return _postfix(expr, _field(name, expr[2].text, ctx), 3, ctx)
    return _postfix(expr, _identifier(name, ctx, whole=len(expr) == 1 and whole), 1, ctx)


def _postfix(expr, value, i, ctx):
    """Method calls and member reads after a value: x.c_str(), x.message, x[i]."""
    while i < len(expr):
        t = expr[i]
        if t.text in (".", "->") and i + 1 < len(expr):
            member = expr[i + 1].text
            if i + 2 < len(expr) and expr[i + 2].text == "(":
                close = _close(expr, i + 2)
                if member in _SAME_VALUE_METHODS:
                    i = close + 1
                    continue
                if member == "arg":
                    args = [a for a in _split_top(expr[i + 3:close], ",") if a]
                    value = [Text(re.sub(r"%\d", "%s", v.text, count=1)) for v in value] \
                        if args else value
                    i = close + 1
                    continue
                value = [Text(PLACEHOLDER, dynamic=member)]
                i = close + 1
                continue
            value = _field(None, member, ctx)
            i += 2
            continue
        if t.text == "[":
            value = [Text.value()]
            i = _close(expr, i) + 1
            continue
        return [Text.value()]
    return value


def _identifier(name, ctx, whole):
    if name in ctx.bindings:
        return ctx.bindings[name]
    if name in ("nullptr", "NULL", "true", "false"):
        return []
    if ctx.depth > _MAX_DEPTH:
        return [Text.value()]
    assigned, appended = ctx.locals_named(name)
    if appended:
        # A text built piece by piece: as a whole value each piece is one rendering (one
        # note of a list of notes); inside a larger text it is one value.
        if not whole:
            return [Text.value()]
        out = []
        for expr in assigned + appended:
            out += render(expr, Context(ctx.src, ctx.function, ctx.bindings, ctx.depth + 1))
        return [o for o in dict.fromkeys(out) if o.text.strip()] or [Text.value()]
    for expr in assigned:
        return render(expr, Context(ctx.src, ctx.function, ctx.bindings, ctx.depth + 1))
    if ctx.function:
        k = ctx.function.param_index(name)
        if k is not None:
            return [Text(PLACEHOLDER, param=k)]
    if name in ctx.src.constants:
        out = []
        for expr in ctx.src.constants[name]:
            out += render(expr, Context(ctx.src, None, {}, ctx.depth + 1))
        return list(dict.fromkeys(out))
    return [Text.value()]


def _field(obj, member, ctx):
    bound = ctx.bindings.get((obj, member)) if obj else None
    if bound is not None:
        return bound
    if ctx.depth > _MAX_DEPTH:
        return [Text.value()]
    values = ctx.src.field_values.get(member, [])
    out = []
    for expr in values:
        if any(t.kind == "str" for t in expr):
            out += render(expr, Context(ctx.src, None, {}, ctx.depth + 1))
    return list(dict.fromkeys(out)) or [Text.value()]


def _call(name, args, ctx):
    short = name.split("::")[-1]
    if name in _WRAPPERS:
        return render(args[0], ctx) if args else [Text("")]
    if short == "to_string":
        return [Text.value("d")]
    if short == "formatG":
        return [Text.value("g")]
    if short in ("formatText", "sprintf", "snprintf", "asprintf"):
        fmt = args[0] if short == "formatText" else (args[1] if short == "sprintf" else args[2])
        return render(fmt, ctx)
    if ctx.depth > _MAX_DEPTH:
        return [Text.value()]
    candidates = [f for f in ctx.src.functions_named(short, len(args))
                  if any(t.text == "return" for t in f.body)]
    out = []
    for f in candidates:
        for returned in _returns(f):
            for bindings in _bind(f, args, ctx):
                got = render(returned, Context(ctx.src, f, bindings, ctx.depth + 1))
                out += [g for g in got if g.param is None]
    out = list(dict.fromkeys(out))
    if len(out) > 1:
        out = [o for o in out if o.text]  # an empty text returned is a fallback
    if out:
        return out
    return [Text(PLACEHOLDER, dynamic=short)]


def _returns(f):
    body, out = f.body, []
    for i, t in enumerate(body):
        if t.text == "return":
            end = _statement_end(body, i + 1)
            expr = body[i + 1:end]
            if expr and any(x.kind in ("str", "id") for x in expr) and expr[0].text != "{":
                out.append(expr)
    return out


def _bind(f, args, ctx):
    """Bindings of f's parameters to the renderings of the arguments of one call."""
    bindings = {}
    for k, p in enumerate(f.params):
        if k < len(args) and p.name:
            rendered = render(args[k], ctx)
            # A value the caller cannot tell stays a value, not the caller's parameter.
            bindings[p.name] = [Text(r.text) if r.param is None else Text.value()
                                for r in rendered] or [Text.value()]
    return [bindings]


def _struct_bindings(f, src):
    """For a function whose parameters are constant structs (a table of texts), one set of
    bindings per combination of their instances, so that fields of one instance go
    together."""
    choices = []
    for p in f.params:
        struct = next((s for s in src.instances if re.search(r"\b%s\b" % re.escape(s), p.type)),
                      None)
        if struct and p.name:
            options = []
            for inst in src.instances[struct]:
                options.append({(p.name, k): render(v, Context(src)) for k, v in inst.items()})
            choices.append(options)
    combos = []
    for combo in itertools.product(*choices) if choices else [()]:
        merged = {}
        for part in combo:
            merged.update(part)
        combos.append(merged)
    return combos


# ---------------------------------------------------------------------------------------
# Sinks

@dataclass(frozen=True)
class Message:
    kind: str  # "box", "cli", "summary", "comment"
    text: str  # the pattern, or "" when dynamic
    dynamic: str  # the call whose value the whole message is, or ""
    where: str  # file:line of one place that shows it


# What the assessment engine writes for the user, by the name of the field or variable.
_ENGINE_TARGETS = {"stopMessage": "box", "summaryNotes": "summary", "notes": "summary",
                   "comment": "comment"}

_BOX_STATICS = {"QMessageBox::warning", "QMessageBox::critical", "QMessageBox::information",
                "QMessageBox::question", "QMessageBox::about"}
_ERR_STREAMS = {"err", "err_", "std::cerr", "stderr"}


def _worth_gathering(chunk):
    """A text with a word in it, or values joined by punctuation ("(%s)", "%s: %s"); not a
    bare separator ("; ") and not one value on its own (a text relayed from elsewhere)."""
    bare = chunk.strip()
    if bare in ("", PLACEHOLDER, "%s"):
        return False
    if re.search(r"[A-Za-z]", re.sub(r"%[sdg]", "", bare.replace(PLACEHOLDER, ""))):
        return True
    return PLACEHOLDER in bare or re.search(r"%[sdg]", bare) is not None


def _finish(texts, kind, where, split_lines):
    out = []
    for t in texts:
        if t.dynamic:
            out.append(Message(kind, "", t.dynamic, where))
            continue
        if t.param is not None:
            continue
        text = re.sub(r"\x1b\[[0-9;]*[A-Za-z]", "", t.text)  # terminal control
        if split_lines:
            chunks = text.split("\n")
        elif kind == "summary":
            chunks = re.split(r"(?:\r?\n){2,}", text)  # one note per paragraph
        else:
            chunks = [text]
        for c in chunks:
            c = c.strip("\r\n").replace("\r\n", "\n")
            if _worth_gathering(c):
                out.append(Message(kind, c.replace(PLACEHOLDER, "%s"), "", where))
    return out


def _notice_texts(arg, ctx):
    """The texts of a sink's argument; for a notice written `{TEXT, DETAIL, ...}` or
    `Notice(TEXT, DETAIL, ...)`, its text and its detail, both shown in the box."""
    inner = None
    if arg and arg[0].text == "{" and _close(arg, 0) == len(arg) - 1:
        inner = arg[1:-1]
    elif len(arg) > 1 and arg[0].text == "Notice" and arg[1].text in ("(", "{") \
            and _close(arg, 1) == len(arg) - 1:
        inner = arg[2:-1]
    if inner is None:
        return render(arg, ctx)
    elements = [e for e in _split_top(inner, ",") if e]
    texts = render(elements[0], ctx) if elements else []
    if len(elements) > 1 and not (len(elements[1]) == 2 and elements[1][0].text == "{"):
        texts += [t for t in render(elements[1], ctx) if t.param is None]
    return texts


def _usage_first_line(texts):
    """A usage text shows as its first line: the rest is the option list of --help."""
    out = []
    for t in texts:
        lines = t.text.split("\n")
        for i, line in enumerate(lines):
            if line.startswith("Usage: "):
                lines = lines[:i + 1]
                break
        out.append(Text("\n".join(lines), t.param, t.dynamic))
    return out


class Gatherer:
    def __init__(self, src):
        self.src = src
        # (name, arity) -> (kind, text index, stream index or None, file)
        self.forwarders = {}
        self.messages = []

    def run(self):
        # Forwarders are found by gathering until no new one appears.
        while True:
            before = dict(self.forwarders)
            self.messages = []
            for f in self.src.functions:
                for bindings in _struct_bindings(f, self.src):
                    self._scan(f, bindings)
            self._scan_comment_parameters()
            if self.forwarders == before:
                break
        seen, out = set(), []
        for m in self.messages:
            key = (m.kind, m.text, m.dynamic)
            if key not in seen:
                seen.add(key)
                out.append(m)
        return out

    def _emit(self, f, texts, kind, line, split_lines=False):
        for t in texts:
            if t.param is not None and t.text == PLACEHOLDER:
                return t.param
        where = "%s:%d" % (f.file, line)
        self.messages += _finish(texts, kind, where, split_lines)
        return None

    def _scan(self, f, bindings, extra_sinks=()):
        body = f.body
        ctx = Context(self.src, f, bindings)
        i = 0
        while i < len(body):
            t = body[i]
            # x.message(TEXT, ...) and forwarders
            if t.kind == "id" and i + 1 < len(body) and body[i + 1].text == "(":
                close = _close(body, i + 1)
                args = [a for a in _split_top(body[i + 2:close], ",") if a]
                member = i > 0 and body[i - 1].text in (".", "->")
                sink = self._sink_of(t.text, member, args, f.file)
                if not sink and member and t.text == "push_back" and args and i > 1 \
                        and body[i - 2].text == "messages":
                    sink = ("box", 0)
                if sink:
                    kind, index = sink
                    texts = _notice_texts(args[index], ctx)
                    if kind == "cli":
                        texts = _usage_first_line(texts)
                    param = self._emit(f, texts, kind, t.line, split_lines=(kind == "cli"))
                    if param is not None and not self._is_root(f.name):
                        self.forwarders[(f.name.split("::")[-1], len(f.params), f.file)] = (kind, param, None, f.file)
            # err << a << b ...
            if (t.kind == "id" and t.text in _ERR_STREAMS or self._stream_param(f, t)) \
                    and i + 1 < len(body) and body[i + 1].text == "<<" \
                    and not (i > 0 and body[i - 1].text in (".", "->", "<<")):
                end = _statement_end(body, i + 1)
                pieces = [p for p in _split_top(body[i + 2:end], "<<") if p]
                rendered = [_usage_first_line(render(p, ctx)) for p in pieces]
                # What the chain writes besides line breaks.
                visible = [r for p, r in zip(pieces, rendered)
                           if not (len(p) == 1 and p[0].kind in ("str", "chr")
                                   and not p[0].text.strip())]
                if t.text in _ERR_STREAMS:
                    if len(visible) == 1 and len(visible[0]) == 1 and \
                            visible[0][0].param is not None:
                        if not self._is_root(f.name):
                            self.forwarders[(f.name.split("::")[-1], len(f.params), f.file)] = (
                                "cli", visible[0][0].param, None, f.file)
                    else:
                        texts = _product([[Text(r.text, None, None) if r.param is None
                                           else Text(PLACEHOLDER) for r in alts]
                                          for alts in rendered])
                        texts = [Text(x.text.replace(PLACEHOLDER + PLACEHOLDER, PLACEHOLDER))
                                 for x in texts]
                        self._emit(f, texts, "cli", t.line, split_lines=True)
                else:
                    stream = f.param_index(t.text)
                    for alts in rendered:
                        for r in alts:
                            if r.param is not None:
                                self.forwarders[(f.name.split("::")[-1], len(f.params), f.file)] = (
                                    "cli", r.param, stream, f.file)
                i = end
                continue
            # m_strSummary += TEXT, m_comments[s] += TEXT, and their stand-ins
            kind, rhs_at = self._append_target(f, body, i, extra_sinks)
            if kind:
                end = _statement_end(body, rhs_at)
                self._emit(f, render(body[rhs_at:end], ctx), kind, t.line)
                i = end
                continue
            i += 1

    @staticmethod
    def _is_root(name):
        return name == "message"

    def _stream_param(self, f, t):
        return t.kind == "id" and f.param_index(t.text) is not None and "ostream" in \
            f.params[f.param_index(t.text)].type

    def _sink_of(self, name, member, args, file):
        short = name.split("::")[-1]
        if member and short == "message" and args:
            return ("box", 0)
        if member and short == "notify" and args:
            return ("box", 0)
        # Outcome's fail(port, notice): the port's, not another helper named fail.
        if not member and short == "fail" and len(args) >= 2 and "port" in args[0][-1].text:
            return ("box", 1)
        if name in _BOX_STATICS and len(args) >= 3:
            return ("box", 2)
        if short == "setInformativeText" and args:
            return ("box", 0)
        # Helpers are keyed by file as well: two files may each have a helper of one name.
        fwd = self.forwarders.get((short, len(args), file))
        if fwd is None and member:
            fwd = next((v for k, v in self.forwarders.items() if k[:2] == (short, len(args))),
                       None)
        # A helper called by its bare name is one of the same file (a member of the class
        # there, or a function of that file): a helper of the same name elsewhere is
        # another one.
        if fwd and (member or fwd[3] == file):
            kind, index, stream, _ = fwd
            if stream is not None:
                first = args[stream]
                if not (len(first) == 1 and first[0].text in _ERR_STREAMS):
                    return None
            if index < len(args):
                return (kind, index)
        return None

    # Appends to the summary or to a sample's comment.

    def _append_target(self, f, body, i, extra_sinks):
        t = body[i]
        if t.kind != "id":
            return None, 0
        if i > 0 and body[i - 1].text in (".", "->") and not t.text.startswith("m_") \
                and t.text not in _ENGINE_TARGETS:
            return None, 0
        j = i + 1
        if j < len(body) and body[j].text == "[":
            j = _close(body, j) + 1
        if j >= len(body) or body[j].text not in ("+=", "="):
            return None, 0
        if i > 0 and body[i - 1].kind == "id":
            return None, 0  # a declaration, not an assignment
        kind = self._target_kind(f, t.text, body, i)
        if kind is None and t.text in extra_sinks:
            kind = extra_sinks[t.text]
        return kind, j + 1

    def _target_kind(self, f, name, body, i):
        if name == "m_strSummary":
            return "summary"
        if name in _ENGINE_TARGETS:
            return _ENGINE_TARGETS[name]
        if name == "m_comments" and i + 1 < len(body) and body[i + 1].text == "[":
            return "comment"
        alias = self._alias_kind(f, name)
        return alias

    @staticmethod
    def _alias_kind(f, name):
        body = f.body
        for k, t in enumerate(body):
            if t.text == name and k > 0 and body[k - 1].text == "&" and k + 1 < len(body) \
                    and body[k + 1].text == "=":
                end = _statement_end(body, k + 2)
                rhs = " ".join(x.text for x in body[k + 2:end])
                if "m_strSummary" in rhs:
                    return "summary"
                if "m_comments" in rhs:
                    return "comment"
        return None

    def _scan_comment_parameters(self):
        """A function appending to a reference parameter is a comment sink where a caller
        hands it a comment; its texts are rendered with that caller's arguments."""
        for caller in self.src.functions:
            body = caller.body
            for i, t in enumerate(body):
                if t.kind != "id" or i + 1 >= len(body) or body[i + 1].text != "(":
                    continue
                close = _close(body, i + 1)
                args = [a for a in _split_top(body[i + 2:close], ",") if a]
                for k, arg in enumerate(args):
                    text = " ".join(x.text for x in arg)
                    is_comment = "m_comments" in text or arg[-1].text == "comment" or (
                        len(arg) == 1 and self._alias_kind(caller, arg[0].text) == "comment")
                    if not is_comment:
                        continue
                    for callee in self.src.functions_named(t.text, len(args)):
                        if k >= len(callee.params) or "&" not in callee.params[k].type:
                            continue
                        ctx = Context(self.src, caller)
                        for bindings in _bind(callee, args, ctx):
                            for sb in _struct_bindings(callee, self.src):
                                merged = dict(bindings)
                                merged.update(sb)
                                self._scan(callee, merged,
                                           extra_sinks={callee.params[k].name: "comment"})


def gather(root):
    """Every message of the program's sources under `root`: a list of Message."""
    return Gatherer(read_sources(root)).run()


def gather_texts(texts):
    """The messages of source texts given as {file name: text} (for tests of this module)."""
    return Gatherer(read_texts(texts)).run()


if __name__ == "__main__":
    import sys
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    for m in sorted(gather(root), key=lambda m: (m.kind, m.text, m.dynamic)):
        shown = repr(m.text) if m.text else "<%s>" % m.dynamic
        print("%-8s %-40s %s" % (m.kind, m.where, shown))
