#!/usr/bin/python3
"""Makes the .xlsx files of this folder: workbooks written by openpyxl, then altered part
by part into the cases the reader must take: the SpreadsheetML namespace of the Excel 2007
pre-releases, damaged or missing package relationships (with the workbook part at the usual
place or elsewhere, named by the content types), and a worksheet part that is missing. The
tests use the files as committed; run this again only to change them.
Usage: /usr/bin/python3 make_xlsx_cases.py"""
import datetime
import io
import os
import zipfile

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))
MAIN_NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
BETA_NS = "http://schemas.microsoft.com/office/excel/2006/2"


def base():
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Samples"
    ws.append(["Code", "Name", "S1", "S2"])
    ws.append(["AC001A", "Achnanthes", 12, 0.5])
    ws.append(["NA002B", "Navicula \u00e4\u00f6\u00fc", 7, True])
    ws["A4"] = datetime.date(2001, 2, 3)
    ws["A4"].number_format = "dd.mm.yyyy"
    wb.create_sheet("Second")["B2"] = "second sheet"
    wb.create_sheet("Third")["C3"] = 3.25
    data = io.BytesIO()
    wb.save(data)
    return data.getvalue()


def rewrite(name, change):
    """Writes `name`: the base workbook with its parts passed through change(parts), a
    dict part name -> bytes (None drops a part)."""
    with zipfile.ZipFile(io.BytesIO(base())) as z:
        parts = {i.filename: z.read(i.filename) for i in z.infolist()}
    change(parts)
    with zipfile.ZipFile(os.path.join(HERE, name), "w", zipfile.ZIP_DEFLATED) as z:
        for part, data in parts.items():
            if data is not None:
                info = zipfile.ZipInfo(part, date_time=(2020, 1, 1, 0, 0, 0))
                info.compress_type = zipfile.ZIP_DEFLATED
                z.writestr(info, data)


def beta_namespace(parts):
    for part in list(parts):
        if part.startswith("xl/") and part.endswith(".xml"):
            parts[part] = parts[part].replace(MAIN_NS.encode(), BETA_NS.encode())


def damaged_rels(parts):
    parts["_rels/.rels"] = parts["_rels/.rels"][:60]


def missing_rels(parts):
    parts["_rels/.rels"] = None


def moved_workbook(parts):
    """The workbook part at book/main.xml, which only the content types name."""
    parts["_rels/.rels"] = None
    parts["book/main.xml"] = parts.pop("xl/workbook.xml")
    rels = parts.pop("xl/_rels/workbook.xml.rels").decode()
    rels = rels.replace('Target="/xl/', 'Target="/xl/').replace('Target="worksheets/',
                                                                 'Target="/xl/worksheets/')
    rels = rels.replace('Target="styles.xml"', 'Target="/xl/styles.xml"')
    rels = rels.replace('Target="theme/', 'Target="/xl/theme/')
    rels = rels.replace('Target="sharedStrings.xml"', 'Target="/xl/sharedStrings.xml"')
    parts["book/_rels/main.xml.rels"] = rels.encode()
    types = parts["[Content_Types].xml"].decode()
    parts["[Content_Types].xml"] = types.replace('PartName="/xl/workbook.xml"',
                                                 'PartName="/book/main.xml"').encode()


def missing_sheet(parts):
    parts["xl/worksheets/sheet2.xml"] = None


if __name__ == "__main__":
    rewrite("prerelease_namespace.xlsx", beta_namespace)
    rewrite("damaged_package_rels.xlsx", damaged_rels)
    rewrite("missing_package_rels.xlsx", missing_rels)
    rewrite("moved_workbook_part.xlsx", moved_workbook)
    rewrite("missing_sheet_part.xlsx", missing_sheet)
