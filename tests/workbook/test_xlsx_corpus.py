"""Every .xlsx of the real-world corpus is read or refused with a reason, never with a
crash; where xlrd reads a file, `frusta2-cli dump` agrees with it on every cell."""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from XlsxOracle import cli, dump_book, xlrd_cells  # noqa: E402

CORPUS = os.path.join(os.environ["FRUSTA_TEST_DATA_DIR"], "workbook", "corpus")


def corpus_files():
    return sorted(f for f in os.listdir(CORPUS) if f.lower().endswith(".xlsx"))


class CorpusTest(unittest.TestCase):
    def test_every_file_is_read_or_refused_with_a_reason(self):
        self.assertGreaterEqual(len(corpus_files()), 10)
        for name in corpus_files():
            with self.subTest(name):
                run = cli("sheets", os.path.join(CORPUS, name))
                self.assertIn(run.returncode, (0, 1), run.stderr)  # no crash or signal
                if run.returncode == 1:
                    self.assertRegex(run.stderr, r"cannot read '.*': \S.{10,}")

    def test_cells_agree_with_xlrd(self):
        compared = 0
        for name in corpus_files():
            path = os.path.join(CORPUS, name)
            expected = xlrd_cells(path)
            if expected is None:
                continue
            with self.subTest(name):
                ours = dump_book(path)
                self.assertEqual([s for s, _ in ours], [s for s, _ in expected])
                for (sheet, our_cells), (_, their_cells) in zip(ours, expected):
                    self.assertEqual(our_cells, their_cells, f"{name}, sheet {sheet}")
                compared += 1
        self.assertGreaterEqual(compared, 6)

    def test_known_contents(self):
        def cells(name, sheet=None):
            return dict(((r, c), (t, v)) for r, c, t, v in
                        dump_book(os.path.join(CORPUS, name), only=sheet)[0][1])

        # Strict OOXML is read.
        strict = cells("SimpleStrict.xlsx", "Sheet1")
        self.assertEqual(strict[(0, 0)], ("text", "test"))
        self.assertEqual(strict[(5, 2)], ("number", "6"))
        # Rows and cells without references follow the previous ones.
        norows = cells("59746_NoRowNums.xlsx")
        self.assertEqual(norows[(0, 10)], ("text", "Study File ID"))
        self.assertEqual(norows[(1, 0)], ("boolean", "TRUE"))
        # Inline rich text with a character outside the BMP.
        self.assertEqual(cells("InlineString.xlsx")[(0, 0)], ("text", "\U0001F61Cmore text"))


if __name__ == "__main__":
    unittest.main()
