"""Prints the cells of a workbook (.xls or .xlsx) as JSON, read by xlrd: a list of sheets, each
with its name and its rows, each cell as "kind:value" (text, number, date, empty, other)."""
import json
import sys

import xlrd


def cell_text(book, cell):
    if cell.ctype == xlrd.XL_CELL_TEXT:
        return "text:" + cell.value
    if cell.ctype == xlrd.XL_CELL_NUMBER:
        return "number:" + repr(cell.value)
    if cell.ctype == xlrd.XL_CELL_DATE:
        return "date:%04d-%02d-%02d %02d:%02d:%02d" % xlrd.xldate_as_tuple(cell.value, book.datemode)
    if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
        return "empty:"
    return "other:" + str(cell.value)


book = xlrd.open_workbook(sys.argv[1])
sheets = []
for sheet in book.sheets():
    rows = [[cell_text(book, sheet.cell(r, c)) for c in range(sheet.ncols)] for r in range(sheet.nrows)]
    sheets.append({"name": sheet.name, "rows": rows})
json.dump(sheets, sys.stdout, ensure_ascii=False)
