#!/usr/bin/python3
"""For comparison in the export benchmark: writes the rows of a UTF-8 CSV file (header row
first) as an .xlsx workbook with openpyxl's write-only mode, every cell a text, and prints the
seconds the writing took (reading the CSV is not timed). Exits 4 without openpyxl."""

import csv
import sys
import time

try:
    from openpyxl import Workbook
except ImportError:
    sys.exit(4)


def main():
    source, target, sheet_name = sys.argv[1], sys.argv[2], sys.argv[3]
    with open(source, newline="", encoding="utf-8") as f:
        rows = [[cell if cell else None for cell in row] for row in csv.reader(f)]
    start = time.perf_counter()
    book = Workbook(write_only=True)
    sheet = book.create_sheet(sheet_name)
    for row in rows:
        sheet.append(row)
    book.save(target)
    print(f"{time.perf_counter() - start:.4f}")


if __name__ == "__main__":
    main()
