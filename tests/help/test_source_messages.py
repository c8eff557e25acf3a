"""The gathering of messages from C++ sources, on small sources that build their texts the
ways the program does: if the gatherer misses a way, the guide's check misses messages."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from source_messages import gather_texts  # noqa: E402


def found(texts):
    return {(m.kind, m.text or "<%s>" % m.dynamic) for m in gather_texts(texts)}


CASES = [
    ("a literal to the port",
     {"a.cpp": 'void f(UserPort& port) { port.message("Save Results?", Buttons::Ok); }'},
     {("box", "Save Results?")}),
    ("adjacent literals and a named constant",
     {"a.cpp": 'const char* const kMsg = "Error " "reading file";\n'
               'void f(UserPort& p) { p.message(kMsg); }'},
     {("box", "Error reading file")}),
    ("a format with its placeholders",
     {"a.cpp": 'void f(UserPort& p, int r) { p.message(formatText("Row %d, col %d", r, 2)); }'},
     {("box", "Row %d, col %d")}),
    ("numbers and names joined with +",
     {"a.cpp": 'void f(UserPort* p, int n, const std::string& name) {\n'
               '  p->message("Missing for " + std::to_string(n) + " samples of " + name +\n'
               '             ".\\nCorrect it and try again."); }'},
     {("box", "Missing for %d samples of %s.\nCorrect it and try again.")}),
    ("a helper of the same file hands its parameter on; one of another file does not",
     {"a.cpp": 'class R { bool fail(const std::string& m) { port_.message(m); return false; }\n'
               '  bool read() { if (x) return fail("No sheets"); return true; } };',
      "b.cpp": 'void parse() { fail("a technical reason"); }'},
     {("box", "No sheets")}),
    ("a function returning one of several texts, and a ternary",
     {"a.cpp": 'const char* why(int k) { if (k == 1) return "Too few rows."; return nullptr; }\n'
               'void f(UserPort& p, int k, bool b) { p.message(why(k));\n'
               '  p.message(b ? "Yes." : std::string("No.")); }'},
     {("box", "Too few rows."), ("box", "Yes."), ("box", "No.")}),
    ("a field of constant structs",
     {"a.cpp": 'struct Rule { const char* key; const char* message; };\n'
               'const Rule* rule(int k) { static const Rule a{"A", "Rule A failed."};\n'
               '  static const Rule b{"B", "Rule B failed."}; return k ? &a : &b; }\n'
               'void f(UserPort& p, int k) { p.message(rule(k)->message); }'},
     {("box", "Rule A failed."), ("box", "Rule B failed.")}),
    ("a text that is wholly a library's: dynamic, by the call's name",
     {"a.cpp": 'void f(UserPort& p, Book* book) { p.message(book->errorMessage(), Buttons::Ok); }'},
     {("box", "<errorMessage>")}),
    ("a relayed text is not a message of its own",
     {"a.cpp": 'void f(CliPort& port) { port.setSink([&](const std::string& text) {\n'
               '  port.message(text); }); }'},
     set()),
    ("a Qt message box",
     {"a.cpp": 'void f(QWidget* w, const QString& path) {\n'
               '  QMessageBox::warning(w, "FRUSTA 2", "Could not write " + path); }'},
     {("box", "Could not write %s")}),
    ("lines to the error stream; a usage text by its first line",
     {"a.cpp": 'const char* const kUsage = "Usage: tool X\\n  -a   an option\\n";\n'
               'int f(std::ostream& err, const std::string& a) {\n'
               '  err << "tool: unknown option " << a << "\\n" << kUsage; return 2; }'},
     {("cli", "tool: unknown option %s"), ("cli", "Usage: tool X")}),
    ("a helper that writes its parameter to the error stream",
     {"a.cpp": 'void Port::say(const std::string& text) { err_ << text << \'\\n\'; }\n'
               'void Port::pick() { say("No worksheet named \\"" + name + "\\"."); }'},
     {("cli", 'No worksheet named "%s".')}),
    ("notes of the job summary, split at blank lines",
     {"a.cpp": 'void f(Doc& doc, int n) { std::string& out = doc.m_strSummary;\n'
               '  out += "\\r\\n\\r\\nDOC data missing for " + std::to_string(n) +\n'
               '         " samples.\\r\\nMissing values replaced.";\n'
               '  doc.m_strSummary += formatText("\\r\\n\\r\\nA: %d\\r\\n\\r\\nB: %d", 1, 2); }'},
     {("summary", "DOC data missing for %d samples.\nMissing values replaced."),
      ("summary", "A: %d"), ("summary", "B: %d")}),
    ("comments through a reference parameter, the fields of one struct together",
     {"a.cpp": 'struct Texts { const char* missing; const char* unit; };\n'
               'constexpr Texts kAlk{"Missing Alkalinity", "mg/l"};\n'
               'constexpr Texts kCa{"Missing Calcium", "ueq/l"};\n'
               'void settle(double& v, const Texts& t, std::string& comment) {\n'
               '  const std::string unit = std::string(" ") + t.unit;\n'
               '  if (v <= 0) comment += std::string(t.missing) + ", value set to " +\n'
               '                         formatG(v) + unit; }\n'
               'void f(Doc& doc, int s, double a) { std::string& comment = doc.m_comments[s];\n'
               '  settle(a, kAlk, comment); doc.m_comments[s] += "No matching taxa found"; }'},
     {("comment", "Missing Alkalinity, value set to %g mg/l"),
      ("comment", "Missing Calcium, value set to %g ueq/l"),
      ("comment", "No matching taxa found")}),
    ("notices: a text and its detail, through notify and Outcome's fail; a helper of the same "
     "file; another helper named fail is not the port's",
     {"a.cpp": 'Outcome open(UserPort& port, Book* book) {\n'
               '  if (!book->load()) return fail(port, {"Error reading file", book->errorMessage()});\n'
               '  port.notify(Notice("Saved.", {}, Buttons::Ok)); return Outcome::done(); }\n'
               'class R { Outcome failWith(const std::string& m) { return fail(port_, {m}); }\n'
               '  Outcome read() { return failWith("No sheets"); } };',
      "b.cpp": 'void parse() { fail(E_FAIL, "a technical reason"); }'},
     {("box", "Error reading file"), ("box", "<errorMessage>"), ("box", "Saved."),
      ("box", "No sheets")}),
    ("what the engine hands back: a stop message, messages, summary notes and comments",
     {"a.cpp": 'Assessment assess(int n) { Assessment a;\n'
               '  if (n == 0) { a.stopMessage = "Nothing to assess."; return a; }\n'
               '  a.messages.push_back("No master list.");\n'
               '  a.summaryNotes += "\\r\\nWarning: " + std::to_string(n) + " taxa lack scores.";\n'
               '  SampleResult r; r.comment += "No matching taxa found"; return a; }'},
     {("box", "Nothing to assess."), ("box", "No master list."),
      ("summary", "Warning: %d taxa lack scores."), ("comment", "No matching taxa found")}),
]


class Gathering(unittest.TestCase):
    def test_cases(self):
        for name, texts, want in CASES:
            with self.subTest(name):
                self.assertEqual(found(texts), want)


if __name__ == "__main__":
    unittest.main()
