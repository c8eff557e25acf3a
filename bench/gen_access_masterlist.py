#!/usr/bin/python3
"""Writes an Access (Jet 4) reference database with a master taxon list of ROWS records, for
benchmarks: a copy of the test database tests/data/refdb/reference.mdb (its boundary and
coefficient tables unchanged) whose master list is grown with copies of its first record,
given the codes B00001, B00002, ... and keys 100001, 100002, ...

No program here writes Access files, so the records are added at the page level: the new
rows go into new data pages appended to the file, which are entered in the table's usage
bitmap, and the table's row count is updated.

Usage: gen_access_masterlist.py OUT.mdb ROWS [TEMPLATE.mdb]"""
import os
import struct
import sys

PAGE = 4096
HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATE = os.path.join(os.path.dirname(HERE), "tests", "data", "refdb", "reference.mdb")
TABLE_COLUMN = "TaxonCode".encode("utf-16le")  # a column only the master list has
FIRST_CODE = "DT0001"
FIRST_KEY = 1001


def u16(b, o):
    return struct.unpack_from("<H", b, o)[0]


def u32(b, o):
    return struct.unpack_from("<I", b, o)[0]


def rows_of(page):
    """The rows of a data page, in stored order (a row ends where the previous one begins)."""
    out = []
    for i in range(u16(page, 12)):
        start = u16(page, 14 + 2 * i) & 0x1FFF
        end = PAGE if i == 0 else u16(page, 14 + 2 * (i - 1)) & 0x1FFF
        out.append(bytes(page[start:end]))
    return out


def data_page(header, rows):
    page = bytearray(PAGE)
    page[:12] = header[:12]
    struct.pack_into("<H", page, 12, len(rows))
    end = PAGE
    for i, row in enumerate(rows):
        end -= len(row)
        page[end:end + len(row)] = row
        struct.pack_into("<H", page, 14 + 2 * i, end)
    struct.pack_into("<H", page, 2, end - (14 + 2 * len(rows)))  # free space
    return page


def main():
    out, total = sys.argv[1], int(sys.argv[2])
    data = bytearray(open(sys.argv[3] if len(sys.argv) > 3 else TEMPLATE, "rb").read())
    pages = len(data) // PAGE
    page = lambda p: bytes(data[p * PAGE:(p + 1) * PAGE])
    tdef = next(p for p in range(pages) if data[p * PAGE] == 0x02 and TABLE_COLUMN in page(p))
    dpages = [p for p in range(pages) if data[p * PAGE] == 0x01 and u32(page(p), 4) == tdef]
    existing = sum(u16(page(p), 12) for p in dpages)
    map_row, map_page = data[tdef * PAGE + 55], u32(page(tdef), 55) >> 8
    usage = rows_of(page(map_page))[map_row]
    if usage[0] != 1:
        sys.exit("the master list's usage map is not a bitmap page; this template cannot grow")
    bitmap_page = u32(usage, 1)
    template = next(r for p in dpages for r in rows_of(page(p))
                    if FIRST_CODE.encode("utf-16le") in r)
    code_at = template.index(FIRST_CODE.encode("utf-16le"))
    key_at = template.index(struct.pack("<i", FIRST_KEY))

    new_rows = []
    for i in range(1, total - existing + 1):
        row = bytearray(template)
        row[code_at:code_at + 12] = ("B%05d" % i).encode("utf-16le")
        struct.pack_into("<i", row, key_at, 100000 + i)
        new_rows.append(bytes(row))
    header = bytes(page(dpages[0])[:12])
    per_page = (PAGE - 14) // (len(template) + 2)
    for first in range(0, len(new_rows), per_page):
        number = len(data) // PAGE
        data += data_page(header, new_rows[first:first + per_page])
        bit = number
        data[bitmap_page * PAGE + 4 + bit // 8] |= 1 << (bit % 8)
    struct.pack_into("<I", data, tdef * PAGE + 16, existing + len(new_rows))
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
