#!/usr/bin/python3
"""Prints a workbook (.xls or .xlsx) as JSON, read by xlrd, for the tests:
{"sheets": [{"name": ..., "rows": [[texts...]...], "nontext": n}]}. Trailing empty cells of a
row are dropped; "nontext" counts the cells that are neither text nor empty."""

import json
import sys

import xlrd


def main():
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
