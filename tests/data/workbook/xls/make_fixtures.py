#!/usr/bin/python3
"""Makes the .xls files of this folder with independent writers: xlwt, and LibreOffice
(an .xlsx made with openpyxl, converted by soffice). Run it again only to change them;
the tests use the files as committed. Usage: /usr/bin/python3 make_fixtures.py"""
import datetime
import os
import subprocess
import tempfile

import openpyxl
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))


def long_text(i):
    return "string %05d " % i + "abcdefghij" * (i % 7)


def xlwt_types():
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Types")
    date = xlwt.easyxf(num_format_str="YYYY-MM-DD")
    two = xlwt.easyxf(num_format_str="0.00")
    ws.write(0, 0, "text")
    ws.write(0, 1, "Grüße – Ωmega €")      # needs UTF-16
    ws.write(0, 2, "café")                  # fits Latin-1
    ws.write(1, 0, 42)                      # RK integer
    ws.write(1, 1, -1.5)                    # RK double
    ws.write(1, 2, 0.1)                     # NUMBER
    ws.write(1, 3, 1234567890123.0)         # NUMBER
    ws.write(1, 4, 12.34)                   # RK x100
    ws.write(2, 0, True)
    ws.write(2, 1, False)
    ws.write(3, 0, datetime.date(2010, 1, 1), date)
    ws.write(3, 1, 3.14159, two)
    ws.write(4, 0, "", xlwt.easyxf("font: bold on"))  # blank with a format
    ws.write(5, 255, "last column")
    ws.write(65535, 0, "last row")
    other = wb.add_sheet("Second")
    other.write(0, 0, "second sheet")
    wb.add_sheet("Empty")
    wb.save(os.path.join(HERE, "xlwt_types.xls"))


def xlwt_1904():
    wb = xlwt.Workbook()
    wb.dates_1904 = True
    ws = wb.add_sheet("Dates")
    ws.write(0, 0, 36526 - 1462, xlwt.easyxf(num_format_str="D-MMM-YY"))  # 1-Jan-2000
    ws.write(0, 1, 36526 - 1462)                                          # a plain number
    ws.write(1, 0, 0.5, xlwt.easyxf(num_format_str="hh:mm"))
    wb.save(os.path.join(HERE, "xlwt_1904.xls"))


def xlwt_long_sst():
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Strings")
    for i in range(3000):
        ws.write(i, 0, long_text(i))
        ws.write(i, 1, "Ω%d" % i if i % 3 == 0 else "x%d" % i)
    ws.write(0, 2, "L" * 20000)          # split over three CONTINUE records
    ws.write(1, 2, "Ж" * 9000)           # wide characters split over records
    wb.save(os.path.join(HERE, "xlwt_long_sst.xls"))


def libreoffice_formulas():
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Formulas"
    ws["A1"] = 2
    ws["B1"] = "=A1*21"              # number result
    ws["C1"] = '="ab"&"cd"'          # text result, STRING record
    ws["D1"] = "=A1>1"               # boolean result
    ws["E1"] = "=1/0"                # error result
    ws["F1"] = '=""'                 # empty text result
    ws["G1"] = True
    ws["H1"] = False
    ws["A2"] = "#N/A"
    ws["B2"] = "=NA()"
    ws["A3"] = datetime.date(2021, 3, 4)
    ws["A3"].number_format = "yyyy-mm-dd"
    for r in range(4, 40):
        for c in range(1, 6):
            ws.cell(r, c, r * 10 + c + 0.25)       # MULRK rows
    ws.cell(40, 1, "text %d" % 40)
    wb.create_sheet("Zweites Blatt")["A1"] = "Straße"
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "lo_formulas.xlsx")
        wb.save(src)
        subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://" + tmp + "/profile",
                        "--convert-to", "xls", "--outdir", HERE, src],
                       check=True, capture_output=True, timeout=300)


if __name__ == "__main__":
    xlwt_types()
    xlwt_1904()
    xlwt_long_sst()
    libreoffice_formulas()
