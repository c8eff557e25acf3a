#!/usr/bin/python3
"""Writes a reference database for benchmarks: a master taxon list of ROWS taxa with codes
BT00001..., every taxon scored for every metric, plus the boundary and CoC tables.

Usage: gen_masterlist.py OUT.sqlite ROWS"""
import random
import sqlite3
import sys


def main():
    out, rows = sys.argv[1], int(sys.argv[2])
    rnd = random.Random(7)
    con = sqlite3.connect(out)
    con.execute("DROP TABLE IF EXISTS NBSMasterTaxonList_PhaseII")
    con.execute("DROP TABLE IF EXISTS Boundaries")
    con.execute("DROP TABLE IF EXISTS CoC")
    con.execute(
        "CREATE TABLE NBSMasterTaxonList_PhaseII (TaxonKey TEXT, TaxonCode TEXT, TaxonName TEXT, "
        "TDI3 DOUBLE, TDI4 DOUBLE, LTDI1 DOUBLE, LTDI2 DOUBLE, DAM DOUBLE, Motile BOOLEAN, "
        "OrganicTolerant BOOLEAN, Planktic BOOLEAN, Saline BOOLEAN)")
    data = []
    for i in range(rows):
        scores = [round(rnd.uniform(1, 5), 2) for _ in range(5)]
        flags = [int(rnd.random() < 0.2) for _ in range(4)]
        data.append(("NBN%08d" % (i + 1), "BT%05d" % (i + 1), "Taxon %d" % (i + 1), *scores, *flags))
    con.executemany("INSERT INTO NBSMasterTaxonList_PhaseII VALUES (?,?,?,?,?,?,?,?,?,?,?,?)", data)
    con.execute("CREATE TABLE Boundaries (SiteType TEXT, LakeType TEXT, MedianTDI DOUBLE, HG DOUBLE, "
                "GM DOUBLE, MP DOUBLE, PB DOUBLE)")
    for st in ("TDI3", "TDI4", "DAM"):
        con.execute("INSERT INTO Boundaries VALUES (?, '', 0, 0.8, 0.6, 0.4, 0.2)", (st,))
    con.execute("CREATE TABLE CoC (SiteType TEXT, Coefficient INTEGER, Value DOUBLE)")
    for st in ("TDI", "LTDI"):
        for coef, value in ((0, 0.1), (1, 0.02), (2, 0.05), (3, 2.0)):
            con.execute("INSERT INTO CoC VALUES (?, ?, ?)", (st, coef, value))
    con.commit()
    con.close()


if __name__ == "__main__":
    main()
