#!/usr/bin/python3
"""Writes features.xlsx: the cells that an OpenDocument file stores in its own ways, for
LibreOffice to convert (make_ods.sh): repeated cells and rows, dates and times, percentages
and currency, texts of several paragraphs, spaces, tabs and rich text, formulas with their
cached values (numbers, texts, booleans, errors), merged (covered) cells, a hidden sheet, and
values far down and to the right after long empty stretches.

Usage: make_features.py OUT.xlsx"""
import datetime
import sys

import xlsxwriter


def main():
    book = xlsxwriter.Workbook(sys.argv[1])
    s = book.add_worksheet("Features")
    date = book.add_format({"num_format": "yyyy-mm-dd"})
    stamp = book.add_format({"num_format": "yyyy-mm-dd hh:mm"})
    clock = book.add_format({"num_format": "hh:mm"})
    percent = book.add_format({"num_format": "0.00%"})
    money = book.add_format({"num_format": "#,##0.00 [$EUR]"})
    wrap = book.add_format({"text_wrap": True})
    bold = book.add_format({"bold": True})
    merged = book.add_format({"align": "center"})
    # Repeats: ten equal counts in a row, five equal rows.
    s.write_row(0, 0, ["Repeats"] + [0] * 10)
    for r in range(1, 6):
        s.write_row(r, 0, ["same", 7, 7, 7, "x"])
    # Dates, times, percentages and money.
    s.write_datetime(7, 0, datetime.datetime(2009, 1, 30), date)
    s.write_datetime(7, 1, datetime.datetime(2010, 5, 21, 13, 45), stamp)
    s.write_datetime(7, 2, datetime.datetime(1899, 12, 31, 6, 30), clock)
    s.write_datetime(7, 3, datetime.datetime(1900, 3, 1), date)
    s.write_number(7, 4, 0.125, percent)
    s.write_number(7, 5, -1234.5, money)
    s.write_number(7, 6, 1 / 3)
    s.write_number(7, 7, 1e-300)
    s.write_number(7, 8, 123456789012345678)
    # Texts: paragraphs, spaces, a tab, rich text, an empty text.
    s.write_string(9, 0, "Navicula\ncryptocephala", wrap)
    s.write_string(9, 1, "first\n\nthird paragraph", wrap)
    s.write_string(9, 2, "a   b")
    s.write_string(9, 3, "  leading and trailing  ")
    s.write_string(9, 4, "tab\there")
    s.write_rich_string(9, 5, "rich ", bold, "bold", " text")
    s.write_string(9, 6, "#N/A")
    s.write_string(9, 7, "Caf\u00e9 \u00b5eq/l \u20ac \u4e2d")
    s.write_string(9, 8, "<&>\"'")
    # Formulas with their values.
    s.write_formula(11, 0, "=1+1", None, 2)
    s.write_formula(11, 1, "=A12*2.5", None, 5)
    s.write_formula(11, 2, '="x"&"y"', None, "xy")
    s.write_formula(11, 3, "=1/0", None, "#DIV/0!")
    s.write_formula(11, 4, "=NA()", None, "#N/A")
    s.write_formula(11, 5, "=1=1", None, True)
    s.write_boolean(11, 6, False)
    # Merged cells: the value in the first, the rest covered.
    s.merge_range(13, 1, 14, 3, "Merged", merged)
    s.write_number(13, 4, 5)
    # Far to the right and far down, after empty stretches.
    s.write_number(16, 200, 1.5)
    s.write_string(4999, 0, "last row")
    s.write_number(4999, 1, 42)
    hidden = book.add_worksheet("Hidden")
    hidden.write_string(0, 0, "not shown")
    hidden.hide()
    book.add_worksheet("Empty")
    book.close()


if __name__ == "__main__":
    main()
