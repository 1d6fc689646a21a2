#!/usr/bin/python3
"""Prints a workbook (.xls or .xlsx) as JSON, read by xlrd, for the tests:
{"sheets": [{"name": ..., "rows": [[texts...]...], "nontext": n}]}. Trailing empty cells of a
row are dropped; "nontext" counts the cells that are neither text nor empty. An .xls file
whose shared-string index (EXTSST) points anywhere but at its strings is refused: spreadsheet
programs use it to find the strings."""

import json
import struct
import sys

import xlrd
from xlrd import compdoc


def check_string_index(path):
    with open(path, "rb") as f:
        stream = compdoc.CompDoc(f.read()).get_named_stream("Workbook")
    starts = set()  # where each SST or CONTINUE record of the string table begins
    pos = 0
    while pos + 4 <= len(stream):
        kind, size = struct.unpack_from("<HH", stream, pos)
        if kind in (0x00FC, 0x003C):
            starts.add(pos)
        if kind == 0x00FF:
            for entry in range(pos + 6, pos + 4 + size, 8):
                at, offset = struct.unpack_from("<IH", stream, entry)
                if at - offset not in starts:
                    sys.exit("EXTSST entry points at %d, in no string record" % at)
        pos += 4 + size


def main():
    if sys.argv[1].endswith(".xls"):
        check_string_index(sys.argv[1])
    book = xlrd.open_workbook(sys.argv[1])
    sheets = []
    for sheet in book.sheets():
        rows = []
        nontext = 0
        for r in range(sheet.nrows):
            values = []
            for cell in sheet.row(r):
                if cell.ctype not in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_EMPTY):
                    nontext += 1
                values.append(cell.value if cell.ctype == xlrd.XL_CELL_TEXT else "")
            while values and values[-1] == "":
                values.pop()
            rows.append(values)
        sheets.append({"name": sheet.name, "rows": rows, "nontext": nontext})
    json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
