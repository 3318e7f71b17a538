#!/usr/bin/env bash
# The spreadsheet exchange through ztfi-cli on the demo database: the day's selection exported
# to a workbook that Debian's xlrd reads, then imported back for its day as manual transactions,
# listed, deleted, imported again and taken by the day's selection.
# usage: ztfi_cli_exchange.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd) src=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"/home/server/{xml,sig,pdf,pdfsig} "$work/home/pdf"
"$build/demo/ztfi-demo-db" "$work/home" >/dev/null
sed -e "s#=server/#=$work/home/server/#" -e "s#^PDF_Path=pdf#PDF_Path=$work/home/pdf/#" "$src/demo/ZTFI.ini" >"$work/home/ZTFI.ini"
export ZTFI_HOME="$work/home"
cli=("$build/ztfi-cli" ZTFI u p ana)
day=08.12.2026
# The cells of a sheet as xlrd reads them, one row a line, cells separated by tabs; date cells as
# "dd.mm.yyyy", time cells as "hh:mm:ss".
cells() {
  /usr/bin/python3 - "$1" <<'PY'
import sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_index(0)
def text(r, c):
    cell = sheet.cell(r, c)
    if cell.ctype != xlrd.XL_CELL_DATE:
        return str(cell.value)
    t = xlrd.xldate_as_tuple(cell.value, book.datemode)
    return "%02d:%02d:%02d" % t[3:] if cell.value < 1 else "%02d.%02d.%04d" % (t[2], t[1], t[0])
print(sheet.name)
for r in range(sheet.nrows):
    print("\t".join(text(r, c) for c in range(sheet.ncols)))
PY
}

# The selection stops for an instrument choice: no file, the ISIN printed, exit 3.
set +e; out=$("${cli[@]}" export $day $day "$work/day.xls" 2>/dev/null); rc=$?; set -e
[[ $rc == 3 ]] || fail "export before the choice exit $rc"
[[ "$out" == "SI0031200007" ]] || fail "pending ISINs: $out"
[[ ! -e "$work/day.xls" ]] || fail "a file was written for a stopped selection"
sfvp=$(sqlite3 "$work/home/ZTFI.sqlite" "SELECT SFVP_OXU FROM DPATVP_SFVP WHERE ISIN='SI0031200007' AND SFVP_POROCANJE IS NULL LIMIT 1")
"${cli[@]}" choose SI0031200007 "$sfvp" >/dev/null

# The export: its last line is the file's full path; the sheet holds the header and every row.
out=$(cd "$work" && "${cli[@]}" export $day $day day.xls | tail -n1)
[[ "$out" == "$work/day.xls" ]] || fail "printed path: $out"
rows=$("${cli[@]}" select $day $day | awk 'NF==0{exit} {n++} END{print n-1}')
sheet=$(cells "$work/day.xls")
[[ $(head -n1 <<<"$sheet") == "ZTFI Export" ]] || fail "sheet name"
[[ $(sed -n 2p <<<"$sheet" | cut -f1,19) == $'Datum transakcije\tReferenčna št. transakcije' ]] || fail "header"
[[ $(( $(wc -l <<<"$sheet") - 2 )) == "$rows" ]] || fail "sheet rows differ from the $rows report rows"
[[ $(sed -n 3p <<<"$sheet" | cut -f1) == "$day" ]] || fail "day of the first row"

# The import of the exported day: its rows up to the first cancellation of an earlier day, which
# interrupts the import (exit 1, the warning on standard error).
imported() { "${cli[@]}" imports $day | tail -n +2 | wc -l; }
set +e; "${cli[@]}" import $day "$work/day.xls" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "interrupted import exit $rc"
grep -qx "Prosim potrdi import podatkov na dan $day !" "$work/err" || fail "confirmation not shown"
grep -q "Prekinjen import!$" "$work/err" || fail "interruption not shown: $(cat "$work/err")"
n=$(imported)
(( n > 0 )) || fail "nothing imported"
[[ $("${cli[@]}" imports $day | head -n1 | cut -f1,20) == $'IDIMP\tREFSTTRANSA' ]] || fail "list header"
"${cli[@]}" import $day "$work/day.xls" 2>/dev/null || true
[[ $(imported) == "$n" ]] || fail "a second import added rows"

# The list as the grid exports it, read back by an independent reader of dBase files.
"${cli[@]}" imports $day --out "$work/imports.dbf" 2>/dev/null
/usr/bin/python3 - "$work/imports.dbf" "$n" <<'PY' || fail "import list as dBase"
import sys, dbf
table = dbf.Table(sys.argv[1]); table.open()
assert len(table) == int(sys.argv[2]), len(table)
PY

# Deleted, then imported again; an unknown instrument ends the import unless it is ignored.
"${cli[@]}" delete-imports $day 2>/dev/null
[[ $(imported) == 0 ]] || fail "delete-imports left rows"
krt=$(/usr/bin/python3 -c "import xlrd,sys; print(xlrd.open_workbook(sys.argv[1]).sheet_by_index(0).cell_value(1, 6))" "$work/day.xls")
sqlite3 "$work/home/ZTFI.sqlite" "UPDATE SFVP SET KRT = KRT || '?' WHERE KRT = '$krt'"
set +e; "${cli[@]}" import $day "$work/day.xls" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "import with an unknown instrument exit $rc"
grep -q "in kratico $krt v šifrantu VP ne obstaja!" "$work/err" || fail "unknown instrument not named"
[[ $(imported) == 0 ]] || fail "Abort on row 2 left rows"
set +e; "${cli[@]}" import $day "$work/day.xls" --ignore-unknown 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "import with an ignored instrument exit $rc"
grep -q "^Za ISIN \".*\" in kratico \"$krt\" ne najdem ustreznega fin. instrumenta!$" "$work/err" || fail "error list"
m=$(imported)
(( m > 0 && m < n )) || fail "ignored rows: $m of $n"
sqlite3 "$work/home/ZTFI.sqlite" "UPDATE SFVP SET KRT = '$krt' WHERE KRT = '$krt?'"

# The day's selection takes the manual transactions (VRSTA I).
taken=$("${cli[@]}" select $day $day | awk -F'\t' 'NR==1{for(i=1;i<=NF;i++) if($i=="VRSTA") v=i; next} NF==0{exit} $v=="I"{n++} END{print n+0}')
[[ $taken == "$m" ]] || fail "the selection took $taken of $m manual transactions"
# A workbook as a clerk makes it: a time-zone offset too long for its column, a blank line above
# a row. The row that does not fit is listed and not written, the row below the blank line is
# named as unread, and the import says what it did (exit 1).
/usr/bin/python3 - "$work/day.xls" "$work/rucni.xlsx" <<'PY'
import sys, zipfile, xlrd
from xml.sax.saxutils import escape
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
def text(r, c):
    cell = sheet.cell(r, c)
    if cell.ctype == xlrd.XL_CELL_DATE:
        t = xlrd.xldate_as_tuple(cell.value, 0)
        return "%02d:%02d:%02d" % t[3:] if cell.value < 1 else "%02d.%02d.%04d" % (t[2], t[1], t[0])
    if cell.ctype == xlrd.XL_CELL_NUMBER:
        return str(int(cell.value)) if cell.value == int(cell.value) else repr(cell.value)
    return str(cell.value)
row = [text(1, c) for c in range(19)]
long_offset = row[:2] + ["+0100"] + row[3:18] + [str(int(row[18]) + 100000)]
below = row[:18] + [str(int(row[18]) + 200000)]
rows = [[text(0, c) for c in range(19)], row, long_offset, [], below]
def col(j): return chr(ord("A") + j)
data = "".join('<row r="%d">%s</row>' % (i + 1, "".join(
    '<c r="%s%d" t="inlineStr"><is><t>%s</t></is></c>' % (col(j), i + 1, escape(v)) for j, v in enumerate(r) if v))
    for i, r in enumerate(rows))
ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
with zipfile.ZipFile(sys.argv[2], "w") as z:
    z.writestr("_rels/.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="%s/officeDocument" Target="/xl/workbook.xml"/></Relationships>' % rel)
    z.writestr("xl/workbook.xml", '<?xml version="1.0"?><workbook %s xmlns:r="%s"><sheets><sheet name="ZTFI Export" sheetId="1" r:id="rIdS1"/></sheets></workbook>' % (ns, rel))
    z.writestr("xl/_rels/workbook.xml.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rIdS1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/></Relationships>' % rel)
    z.writestr("xl/worksheets/sheet1.xml", '<?xml version="1.0"?><worksheet %s><sheetData>%s</sheetData></worksheet>' % (ns, data))
PY
set +e; "${cli[@]}" import $day "$work/rucni.xlsx" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "import of a workbook with listed and unread rows exit $rc"
grep -qx "Napaka v 3. vrstici. Časovni pas: vrednost je daljša od dovoljene (dolžina 5, največ 3)." "$work/err" || fail "long offset: $(cat "$work/err")"
grep -qx "Vrstica 5 ni prebrana: branje se konča pri vrstici 4, ki v stolpcu A nima datuma." "$work/err" || fail "unread row: $(cat "$work/err")"
grep -qx "Zapisanih vrstic: 1, zavrnjenih: 1, neprebranih: 1." "$work/err" || fail "summary: $(cat "$work/err")"

# A workbook of 8,000 rows whose one cell is in the last column (XFD) and one of 2,000,001
# shared strings: both are answered within 300 MB, with a message and no abort.
/usr/bin/python3 - "$work/siroki.xlsx" "$work/nizi.xlsx" <<'PY'
import sys, zipfile
ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
def book(path, data, strings=None):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("_rels/.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="%s/officeDocument" Target="/xl/workbook.xml"/></Relationships>' % rel)
        z.writestr("xl/workbook.xml", '<?xml version="1.0"?><workbook %s xmlns:r="%s"><sheets><sheet name="A" sheetId="1" r:id="rIdS1"/></sheets></workbook>' % (ns, rel))
        extra = '<Relationship Id="rIdT" Type="%s/sharedStrings" Target="sharedStrings.xml"/>' % rel if strings else ""
        z.writestr("xl/_rels/workbook.xml.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rIdS1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>%s</Relationships>' % (rel, extra))
        z.writestr("xl/worksheets/sheet1.xml", '<?xml version="1.0"?><worksheet %s><sheetData>%s</sheetData></worksheet>' % (ns, data))
        if strings:
            z.writestr("xl/sharedStrings.xml", '<?xml version="1.0"?><sst %s>%s</sst>' % (ns, strings))
head = '<row r="1"><c r="A1" t="inlineStr"><is><t>Datum transakcije</t></is></c></row>'
book(sys.argv[1], head + "".join('<row r="%d"><c r="XFD%d"><v>%d</v></c></row>' % (r, r, r) for r in range(2, 8002)))
book(sys.argv[2], head, "<si/>" * 2000001)
PY
set +e; /usr/bin/time -f %M -o "$work/rss" "${cli[@]}" import $day "$work/siroki.xlsx" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "wide workbook exit $rc"
grep -qx "Vrstice 2 do 8001 niso prebrane: branje se konča pri vrstici 2, ki v stolpcu A nima datuma." "$work/err" || fail "wide rows: $(cat "$work/err")"
(( $(tail -n1 "$work/rss") < 300000 )) || fail "wide workbook took $(tail -n1 "$work/rss") kB"
set +e; /usr/bin/time -f %M -o "$work/rss" "${cli[@]}" import $day "$work/nizi.xlsx" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "workbook of many strings exit $rc"
grep -q "delovni zvezek je prevelik za uvoz" "$work/err" || fail "many strings: $(cat "$work/err")"
(( $(tail -n1 "$work/rss") < 300000 )) || fail "many strings took $(tail -n1 "$work/rss") kB"
echo "ztfi-cli exchange: passed"
