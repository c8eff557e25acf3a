#!/usr/bin/python3
"""Makes the Excel 2.x to 95 workbooks (BIFF2, BIFF3, BIFF4, BIFF4W, BIFF5, BIFF7) of this
folder, and a BIFF8 workbook whose formulas have the record types of older versions, record
by record from the published record layouts (no library writes these versions: xlwt writes
BIFF8 only, and LibreOffice no longer exports Excel 95).
The tests use the files as committed and compare every cell with xlrd; run this again only
to change them. Usage: /usr/bin/python3 make_old_biff.py"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def rec(kind, body=b""):
    return struct.pack("<HH", kind, len(body)) + body


def f64(v):
    return struct.pack("<d", v)


def rk_int(v):
    return struct.pack("<I", ((v << 2) | 2) & 0xFFFFFFFF)


def bstr8(text, enc):
    data = text.encode(enc)
    return struct.pack("<B", len(data)) + data


def bstr16(text, enc):
    data = text.encode(enc)
    return struct.pack("<H", len(data)) + data


def ustr8(text):
    """A BIFF8 string with an 8-bit count (sheet names)."""
    try:
        return struct.pack("<BB", len(text), 0) + text.encode("latin-1")
    except UnicodeEncodeError:
        return struct.pack("<BB", len(text), 1) + text.encode("utf-16-le")


def ustr16(text):
    try:
        return struct.pack("<HB", len(text), 0) + text.encode("latin-1")
    except UnicodeEncodeError:
        return struct.pack("<HB", len(text), 1) + text.encode("utf-16-le")


# The cached result of a formula: a number, or a text (0), boolean (1), error (2) or empty
# text (3) marked by 0xFFFF in the last two bytes.
def result_number(v):
    return f64(v)


def result_special(kind, value=0):
    return struct.pack("<BBBBHH", kind, 0, value, 0, 0, 0xFFFF)


TOKENS = b"\x1e\x01\x00"  # ptgInt 1: the formula "=1" (its result is what is read)


def compound_file(stream_name, stream):
    """An OLE2 compound file (version 3, 512-byte sectors) whose root holds one stream. A
    stream shorter than 4096 bytes is padded with zeros to that size, so that it lives in
    regular sectors."""
    if len(stream) < 4096:
        stream += b"\0" * (4096 - len(stream))
    stream += b"\0" * (-len(stream) % 512)
    data_sectors = len(stream) // 512
    dir_sector = data_sectors
    # FAT: one entry per sector; one FAT sector holds 128 entries.
    fat_sectors = 1
    while data_sectors + 1 + fat_sectors > 128 * fat_sectors:
        fat_sectors += 1
    fat = list(range(1, data_sectors)) + [0xFFFFFFFE]  # the stream's chain
    fat += [0xFFFFFFFE]  # directory
    fat += [0xFFFFFFFD] * fat_sectors
    fat += [0xFFFFFFFF] * (128 * fat_sectors - len(fat))
    header = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + b"\0" * 16
    header += struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + b"\0" * 6
    header += struct.pack("<IIIIIIIII", 0, fat_sectors, dir_sector, 0, 4096, 0xFFFFFFFE, 0,
                          0xFFFFFFFE, 0)
    difat = [dir_sector + 1 + i for i in range(fat_sectors)]
    difat += [0xFFFFFFFF] * (109 - len(difat))
    header += struct.pack("<109I", *difat)

    def entry(name, kind, child, start, size):
        raw = name.encode("utf-16-le") + b"\0\0"
        return (raw + b"\0" * (64 - len(raw)) +
                struct.pack("<HBBIII", len(raw), kind, 1, 0xFFFFFFFF, 0xFFFFFFFF, child) +
                b"\0" * 36 + struct.pack("<III", start, size, 0))

    empty = b"\0" * 64 + struct.pack("<HBBIII", 0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF,
                                     0xFFFFFFFF) + b"\0" * 48
    directory = (entry("Root Entry", 5, 1, 0xFFFFFFFE, 0) +
                 entry(stream_name, 2, 0xFFFFFFFF, 0, len(stream)) + empty + empty)
    return (header + stream + directory +
            b"".join(struct.pack("<128I", *fat[i * 128:(i + 1) * 128])
                     for i in range(fat_sectors)))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---- BIFF2 ----

def attr(xf=0, fmt=0):
    """The 3-byte cell attribute block of BIFF2: XF index, font and format, alignment."""
    return struct.pack("<BBB", xf & 0x3F, fmt & 0x3F, 0)


def biff2_formats(enc):
    return b"".join(rec(0x001E, bstr8(code, enc))
                    for code in ("General", "0", "0.00", "d-mmm-yy", "h:mm", '"Tag "0'))


def biff2(name, date1904):
    """BIFF2 (Excel 2.1): XF records, an IXFE record, every BIFF2 cell record and a formula
    of each result kind."""
    enc = "cp1252"
    s = rec(0x0009, struct.pack("<HH", 0x0002, 0x0010))
    s += rec(0x0042, struct.pack("<H", 1252))
    s += rec(0x0022, struct.pack("<H", 1 if date1904 else 0))
    s += biff2_formats(enc)
    s += rec(0x0031, struct.pack("<HH", 200, 0) + bstr8("Arial", enc))  # FONT
    # XF 0 General, 1 "0.00", 2 "d-mmm-yy", 3 "h:mm", 4 the quoted text format
    for fmt in (0, 2, 3, 4, 5):
        s += rec(0x0043, struct.pack("<BBBB", 0, 0, fmt, 0))
    s += rec(0x0000, struct.pack("<HHHH", 0, 12, 0, 6))  # DIMENSIONS
    s += rec(0x0004, struct.pack("<HH", 0, 0) + attr() + bstr8("Probe", enc))
    s += rec(0x0004, struct.pack("<HH", 0, 1) + attr() + bstr8("Café – 5 €", enc))
    s += rec(0x0004, struct.pack("<HH", 0, 2) + attr() + bstr8("", enc))
    s += rec(0x0003, struct.pack("<HH", 1, 0) + attr(1) + f64(3.25))
    s += rec(0x0002, struct.pack("<HH", 1, 1) + attr() + struct.pack("<H", 65535))
    s += rec(0x0003, struct.pack("<HH", 1, 2) + attr(0) + f64(-1e-300))
    s += rec(0x0003, struct.pack("<HH", 2, 0) + attr(2) + f64(35000.0))  # a date
    s += rec(0x0002, struct.pack("<HH", 2, 1) + attr(2) + struct.pack("<H", 36526))  # a date
    s += rec(0x0003, struct.pack("<HH", 2, 2) + attr(3) + f64(0.75))  # a time
    s += rec(0x0003, struct.pack("<HH", 2, 3) + attr(4) + f64(7.0))  # quoted text, no date
    s += rec(0x0044, struct.pack("<H", 2))  # IXFE: cells with XF 63 use XF 2
    s += rec(0x0003, struct.pack("<HH", 2, 4) + attr(63) + f64(40000.0))  # a date
    s += rec(0x0005, struct.pack("<HH", 3, 0) + attr() + struct.pack("<BB", 1, 0))
    s += rec(0x0005, struct.pack("<HH", 3, 1) + attr() + struct.pack("<BB", 0, 0))
    s += rec(0x0005, struct.pack("<HH", 3, 2) + attr() + struct.pack("<BB", 0x07, 1))
    s += rec(0x0005, struct.pack("<HH", 3, 3) + attr() + struct.pack("<BB", 0x2A, 1))
    s += rec(0x0001, struct.pack("<HH", 4, 0) + attr())
    s += rec(0x0001, struct.pack("<HH", 4, 5) + attr(1))

    def formula(row, col, result, xf=0):
        return rec(0x0006, struct.pack("<HH", row, col) + attr(xf) + result +
                   struct.pack("<BB", 0, len(TOKENS)) + TOKENS)

    s += formula(5, 0, result_number(42.5))
    s += formula(5, 1, result_number(36526.0), 2)  # a date
    s += formula(5, 2, result_special(0))
    s += rec(0x0007, bstr8("Ergebnis €", enc))
    s += formula(5, 3, result_special(1, 1))
    s += formula(5, 4, result_special(2, 0x0F))
    s += formula(5, 5, result_special(3))
    s += rec(0x0004, struct.pack("<HH", 11, 5) + attr() + bstr8("last", enc))
    s += rec(0x000A)
    write(name, s)


def biff20():
    """BIFF2 as Excel 2.0 wrote it: no XF records, the format index in the cell's
    attribute block."""
    enc = "cp1252"
    s = rec(0x0009, struct.pack("<HH", 0x0002, 0x0010))
    s += rec(0x0022, struct.pack("<H", 1))
    s += biff2_formats(enc)
    s += rec(0x0003, struct.pack("<HH", 0, 0) + attr(0, 3) + f64(33000.0))  # d-mmm-yy
    s += rec(0x0003, struct.pack("<HH", 0, 1) + attr(0, 2) + f64(33000.0))  # 0.00
    s += rec(0x0002, struct.pack("<HH", 1, 0) + attr(0, 4) + struct.pack("<H", 1))  # h:mm
    s += rec(0x0004, struct.pack("<HH", 1, 1) + attr() + bstr8("Excel 2.0", enc))
    s += rec(0x000A)
    write("biff20_no_xf.xls", s)


# ---- BIFF3 and BIFF4 ----

def xf34(biff, fmt):
    if biff == 3:  # font, format, type and protection, used, alignment and parent, ...
        return rec(0x0243, struct.pack("<BBBBHHI", 0, fmt, 0, 0, 0, 0, 0))
    return rec(0x0443, struct.pack("<BBHBBHI", 0, fmt, 0, 0, 0, 0, 0))


def biff34(biff, name, codepage, texts):
    enc = "cp%d" % codepage
    bof = {3: 0x0209, 4: 0x0409}[biff]
    s = rec(bof, struct.pack("<HHH", 0, 0x0010, 0))
    s += rec(0x0042, struct.pack("<H", codepage))
    s += rec(0x0022, struct.pack("<H", 1))  # the 1904 date system
    codes = ("General", "0.00", "dd.mm.yyyy", "[h]:mm:ss", "#,##0")
    for i, code in enumerate(codes):
        if biff == 3:
            s += rec(0x001E, bstr8(code, enc))
        else:
            s += rec(0x041E, struct.pack("<H", i) + bstr8(code, enc))
    for fmt in (0, 1, 2, 3, 4):
        s += xf34(biff, fmt)
    s += rec(0x0200, struct.pack("<HHHHH", 0, 8, 0, 5, 0))
    s += rec(0x0204, struct.pack("<HHH", 0, 0, 0) + bstr16(texts[0], enc))
    s += rec(0x0204, struct.pack("<HHH", 0, 1, 0) + bstr16(texts[1], enc))
    s += rec(0x0203, struct.pack("<HHH", 1, 0, 1) + f64(2.5))
    s += rec(0x027E, struct.pack("<HHH", 1, 1, 0) + rk_int(-7))
    s += rec(0x027E, struct.pack("<HHH", 1, 2, 0) + struct.pack("<I", (1234 << 2) | 3))
    s += rec(0x0203, struct.pack("<HHH", 2, 0, 2) + f64(30000.0))  # a date
    s += rec(0x027E, struct.pack("<HHH", 2, 1, 2) + rk_int(30001))  # a date
    s += rec(0x0203, struct.pack("<HHH", 2, 2, 3) + f64(1.5))  # elapsed time: a date
    s += rec(0x0203, struct.pack("<HHH", 2, 3, 4) + f64(1234567.0))
    s += rec(0x0205, struct.pack("<HHH", 3, 0, 0) + struct.pack("<BB", 1, 0))
    s += rec(0x0205, struct.pack("<HHH", 3, 1, 0) + struct.pack("<BB", 0x1D, 1))
    s += rec(0x0201, struct.pack("<HHH", 3, 2, 1))
    ftype = {3: 0x0206, 4: 0x0406}[biff]

    def formula(row, col, result, xf=0):
        return rec(ftype, struct.pack("<HHH", row, col, xf) + result +
                   struct.pack("<HH", 0, len(TOKENS)) + TOKENS)

    s += formula(4, 0, result_number(-0.125))
    s += formula(4, 1, result_number(30002.0), 2)  # a date
    s += formula(4, 2, result_special(0))
    s += rec(0x0207, bstr16(texts[2], enc))
    s += formula(4, 3, result_special(1, 0))
    s += formula(4, 4, result_special(2, 0x24))
    s += rec(0x0204, struct.pack("<HHH", 7, 4, 0) + bstr16("end", enc))
    s += rec(0x000A)
    write(name, s)


def biff4w():
    """The BIFF4 workbook form: globals that embed one worksheet substream after each
    SHEETHDR record, each with its own formats."""
    enc = "cp1253"
    sheets = [("Πρώτο", [("text", "Ελληνικά"), ("number", 1.0)]),
              ("Second", [("number", 2.0), ("date", 30000.0)]),
              ("Third", [])]
    g = rec(0x0409, struct.pack("<HHH", 0, 0x0100, 0))
    g += rec(0x0042, struct.pack("<H", 1253))
    g += rec(0x0022, struct.pack("<H", 1))  # the 1904 date system
    bundles = b"".join(rec(0x0085, bstr8(sheet_name, enc))  # BUNDLESHEET: the name only
                       for sheet_name, _ in sheets)
    # SHEETSOFFSET: where the first SHEETHDR record is
    g += rec(0x008E, struct.pack("<I", len(g) + 8 + len(bundles))) + bundles
    for sheet_name, cells in sheets:
        sub = rec(0x0409, struct.pack("<HHH", 0, 0x0010, 0))
        for i, code in enumerate(("General", "yyyy-mm-dd")):
            sub += rec(0x041E, struct.pack("<H", i) + bstr8(code, enc))
        sub += xf34(4, 0) + xf34(4, 1)
        for col, (kind, value) in enumerate(cells):
            if kind == "text":
                sub += rec(0x0204, struct.pack("<HHH", 0, col, 0) + bstr16(value, enc))
            else:
                sub += rec(0x0203, struct.pack("<HHH", 0, col, 1 if kind == "date" else 0) +
                           f64(value))
        sub += rec(0x000A)
        g += rec(0x008F, struct.pack("<I", len(sub)) + bstr8(sheet_name, enc)) + sub
    g += rec(0x000A)
    write("biff4w_workbook.xls", g)


# ---- BIFF5 and BIFF7 ----

def xf5(fmt, style=False):
    # font, format, type/protection/parent, alignment, orientation/used, borders (8)
    kind = 0xFFF5 if style else 0x0001
    return rec(0x00E0, struct.pack("<HHHBBII", 0, fmt, kind, 0x20, 0, 0, 0))


def biff_globals(version, build, year, codepage, date1904, formats, xfs, sheets, unicode,
                 extra=b""):
    """Globals of BIFF5 to BIFF8 and the sheet substreams; `sheets` lists (name, kind,
    substream body records)."""
    enc = "cp%d" % codepage if not unicode else None
    bof = rec(0x0809, struct.pack("<HHHH", version, 0x0005, build, year) +
              (struct.pack("<II", 0, 6) if unicode else b""))
    g = bof + rec(0x0042, struct.pack("<H", codepage))
    g += rec(0x0022, struct.pack("<H", 1 if date1904 else 0))
    for size in (200, 200, 200, 200, 240):
        name = ustr8("Arial") if unicode else bstr8("Arial", enc)
        g += rec(0x0031, struct.pack("<HHHHHBBBB", size, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) + name)
    for index, code in formats:
        g += rec(0x041E, struct.pack("<H", index) + (ustr16(code) if unicode else
                                                     bstr8(code, enc)))
    for fmt, style in xfs:
        if unicode:
            kind = 0xFFF5 if style else 0x0001
            g += rec(0x00E0, struct.pack("<HHHBBBBIIH", 0, fmt, kind, 0x20, 0, 0, 0, 0, 0,
                                         0x20C0))
        else:
            g += xf5(fmt, style)
    g += rec(0x0293, struct.pack("<HBB", 0x8000, 0, 0xFF))  # STYLE: Normal
    g += extra
    fields = []
    for name, kind, _ in sheets:
        fields.append(len(g) + 4)
        g += rec(0x0085, struct.pack("<IBB", 0, 0, kind) +
                 (ustr8(name) if unicode else bstr8(name, enc)))
    g += rec(0x000A)
    g = bytearray(g)
    for (name, kind, body), at in zip(sheets, fields):
        struct.pack_into("<I", g, at, len(g))
        sub_type = 0x0020 if kind == 2 else 0x0010
        g += rec(0x0809, struct.pack("<HHHH", version, sub_type, build, year) +
                 (struct.pack("<II", 0, 6) if unicode else b""))
        g += body + rec(0x000A)
    return bytes(g)


def cell(row, col, xf=15):
    return struct.pack("<HHH", row, col, xf)


def biff5_sheet(enc):
    b = rec(0x0200, struct.pack("<HHHHH", 0, 20, 0, 8, 0))
    b += rec(0x0204, cell(0, 0) + bstr16("Probe", enc))
    b += rec(0x0204, cell(0, 1) + bstr16("Größe – Maß €", enc))
    b += rec(0x00D6, cell(0, 2) + bstr16("rich text", enc) + struct.pack("<B", 2) +
             struct.pack("<BBBB", 0, 1, 4, 0))
    b += rec(0x0204, cell(0, 3) + bstr16("", enc))
    b += rec(0x0203, cell(1, 0) + f64(0.1))
    b += rec(0x027E, cell(1, 1) + rk_int(123456))
    b += rec(0x027E, cell(1, 2) + struct.pack("<I", 0x3FF80000 | 1))  # 1.5 / 100
    b += rec(0x00BD, struct.pack("<HH", 2, 1) + struct.pack("<H", 15) + rk_int(1) +
             struct.pack("<H", 16) + rk_int(35000) + struct.pack("<H", 15) + rk_int(3) +
             struct.pack("<H", 3))
    b += rec(0x0203, cell(3, 0, 17) + f64(35000.5))  # a date (built-in format 22)
    b += rec(0x0203, cell(3, 1, 18) + f64(35000.0))  # "0.00": no date
    b += rec(0x0203, cell(3, 2, 19) + f64(35000.0))  # custom date format
    b += rec(0x0201, cell(4, 0))
    b += rec(0x00BE, struct.pack("<HH", 4, 2) + struct.pack("<HHH", 15, 15, 15) +
             struct.pack("<H", 4))
    b += rec(0x0205, cell(5, 0) + struct.pack("<BB", 1, 0))
    b += rec(0x0205, cell(5, 1) + struct.pack("<BB", 0, 0))
    b += rec(0x0205, cell(5, 2) + struct.pack("<BB", 0x17, 1))
    b += rec(0x0205, cell(5, 3) + struct.pack("<BB", 0x00, 1))

    def formula(row, col, result, xf=15):
        return rec(0x0006, cell(row, col, xf) + result + struct.pack("<HIH", 0, 0, len(TOKENS)) +
                   TOKENS)

    b += formula(6, 0, result_number(1e100))
    b += formula(6, 1, result_number(35000.0), 16)  # a date
    b += formula(6, 2, result_special(0))
    long_text = ("Zeile " * 30).strip()
    data = long_text.encode(enc)
    b += rec(0x0207, struct.pack("<H", len(data)) + data[:50])
    b += rec(0x003C, data[50:])  # the text goes on in a CONTINUE record, without flag byte
    b += formula(6, 3, result_special(0))
    b += rec(0x0207, bstr16("Ü", enc))
    b += formula(6, 4, result_special(1, 1))
    b += formula(6, 5, result_special(2, 0x2A))
    b += formula(6, 6, result_special(3))
    b += rec(0x0203, cell(19, 7) + f64(-0.0))
    return b


def biff5(name, version, build, year, date1904):
    enc = "cp1252"
    formats = [(164, "dd/mm/yyyy hh:mm"), (165, '"Nr. "0')]
    xfs = [(0, True)] * 15 + [(0, False), (14, False), (22, False), (2, False), (164, False),
                              (165, False)]
    second = rec(0x0204, cell(0, 0) + bstr16("zweites Blatt", enc))
    second += rec(0x0203, cell(2, 3, 20) + f64(5.0))
    chart = rec(0x1002, b"\0" * 16)
    stream = biff_globals(version, build, year, 1252, date1904, formats, xfs,
                          [("Daten", 0, biff5_sheet(enc)), ("Diagramm", 2, chart),
                           ("Zweites", 0, second), ("Leer", 0, b"")], unicode=False)
    write(name, compound_file("Book", stream))


def biff7_codepage(name, codepage, texts, result):
    """Texts in a code page. The STRING record's count is taken as a byte count, as
    LibreOffice takes it (xlrd counts the characters of multi-byte pages there)."""
    enc = "cp%d" % codepage
    xfs = [(0, True)] * 15 + [(0, False)]
    body = b"".join(rec(0x0204, cell(i, 0) + bstr16(t, enc)) for i, t in enumerate(texts))
    body += rec(0x0006, cell(len(texts), 0) + result_special(0) +
                struct.pack("<HIH", 0, 0, len(TOKENS)) + TOKENS)
    body += rec(0x0207, bstr16(result, enc))
    stream = biff_globals(0x0500, 0x0DBB, 0x07CD, codepage, False, [], xfs,
                          [(texts[0][:8], 0, body)], unicode=False)
    write(name, compound_file("Book", stream))


# ---- BIFF8 with FORMULA records of older types ----

def biff8_old_formula_ids():
    """A BIFF8 workbook whose formulas have the FORMULA record types of BIFF3 (0x0206)
    and BIFF4 (0x0406), as some writers make them, and one of the BIFF8 type."""
    xfs = [(0, True)] * 15 + [(0, False), (14, False)]
    b = rec(0x0204, cell(0, 0) + ustr16("formulas"))

    def formula(kind, row, col, result, xf=15):
        body = cell(row, col, xf) + result + struct.pack("<HIH", 0, 0, len(TOKENS)) + TOKENS
        return rec(kind, body)

    b += formula(0x0206, 1, 0, result_number(2.5))
    b += formula(0x0406, 1, 1, result_number(-3.0))
    b += formula(0x0006, 1, 2, result_number(4.0))
    b += formula(0x0406, 2, 0, result_special(0))
    b += rec(0x0207, ustr16("text of a BIFF4 formula"))
    b += formula(0x0206, 2, 1, result_special(1, 1))
    b += formula(0x0406, 2, 2, result_special(2, 0x07))
    b += formula(0x0206, 2, 3, result_special(3))
    b += formula(0x0406, 3, 0, result_number(40000.0), 16)
    stream = biff_globals(0x0600, 0x0DBB, 0x07CC, 1200, True, [], xfs,
                          [("Formulas", 0, b)], unicode=True)
    write("biff8_old_formula_ids.xls", compound_file("Workbook", stream))


if __name__ == "__main__":
    biff2("biff2_types.xls", False)
    biff2("biff2_1904.xls", True)
    biff20()
    biff34(3, "biff3_cp1251.xls", 1251, ["Проба", "Диатомеи", "Итог"])
    biff34(4, "biff4_cp1250.xls", 1250, ["Próba", "Žluťoučký kůň", "Łódź"])
    biff4w()
    biff5("biff5_book.xls", 0x0500, 0x0DBB, 0x07C9, False)      # Excel 5.0 (1993)
    biff5("biff7_1904.xls", 0x0500, 0x0DBB, 0x07CD, True)       # Excel 95 (1997)
    biff7_codepage("biff7_cp932.xls", 932, ["試料一", "珪藻", "結果です"], "kekka")
    biff7_codepage("biff7_cp1251.xls", 1251, ["Проба", "Итог"], "Итог")
    biff8_old_formula_ids()
