#!/usr/bin/env bash
# The spreadsheet exchange through ztfi-cli on the demo database: the day's selection exported
# to a workbook that Debian's xlrd reads, then imported back for its day as manual transactions,
# listed, deleted, imported again and taken by the day's selection.
# usage: ztfi_cli_exchange.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd) src=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/ztfiXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"/home/server/{xml,sig,pdf,pdfsig} "$work/home/pdf"
"$build/demo/ztfi-demo-db" "$work/home" >/dev/null
sed -e "s#=server/#=$work/home/server/#" -e "s#^PDF_Path=pdf#PDF_Path=$work/home/pdf/#" "$src/demo/ZTFI.ini" >"$work/home/ZTFI.ini"
export ZTFI_HOME="$work/home"
cli=("$build/ztfi-cli" ZTFI u p ana)
day=08.12.2026
# The cells of a sheet as xlrd reads them, one row a line, cells separated by tabs.
cells() {
  /usr/bin/python3 - "$1" <<'PY'
import sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_index(0)
print(sheet.name)
for r in range(sheet.nrows):
    print("\t".join(str(sheet.cell_value(r, c)) for c in range(sheet.ncols)))
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
echo "ztfi-cli exchange: passed"
