"""How exactly each results format keeps the numbers, read back by independent readers: the
.xls workbook (xlrd), the CSV files (Python's csv) and the JSON document (Python's json) hold
every bit of each double; the .xlsx workbook (openpyxl) holds each rounded to 16 significant
digits, the number format of libxlsxwriter."""
import csv
import json
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import assesslib as A  # noqa: E402


class Precision(unittest.TestCase):
    def test_xls_csv_json_keep_every_bit_xlsx_sixteen_digits(self):
        with A.temp_dir() as d:
            db = os.path.join(d, "ref.sqlite")
            A.make_database(db)
            book = os.path.join(d, "in.xls")
            A.write_xlwt(book, A.river_rows())
            for out in ("r.xls", "r.xlsx", "r.csv", "r.json"):
                rc, _, stderr = A.run(["assess", book, "--database", db, "-o", os.path.join(d, out)])
                self.assertEqual(rc, 0, stderr)
            with open(os.path.join(d, "r-samples.csv"), newline="", encoding="utf-8") as f:
                rows = list(csv.reader(f))
            with open(os.path.join(d, "r.json"), encoding="utf-8") as f:
                doc = json.load(f)
            _, xls = A.read_results(os.path.join(d, "r.xls"))
            _, xlsx = A.read_results(os.path.join(d, "r.xlsx"))

            header = rows[0]
            first_result = header.index("Sample sum")
            result_names = header[first_result:header.index("% Saline") + 1]
            full = shortened = 0
            for r, row in enumerate(rows[1:]):
                for c, field in enumerate(row[first_result:], first_result):
                    name = header[c]
                    if field == "" or name not in result_names or name.startswith("Class"):
                        continue
                    value = float(field)
                    where = f"sample {r + 1}, {name}"
                    self.assertEqual(xls["Sample Summary"][(r + 1, c)][0], value, where)
                    self.assertEqual(doc["samples"][r]["results"][name], value, where)
                    sixteen = float("%.16g" % value)
                    self.assertEqual(xlsx["Sample Summary"][(r + 1, c)][0], sixteen, where)
                    full += 1
                    shortened += sixteen != value
            self.assertGreater(full, 20)
            # Some results need all 17 digits: those are the ones .xlsx shortens.
            self.assertGreater(shortened, 0)


if __name__ == "__main__":
    unittest.main()
