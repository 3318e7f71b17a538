#!/usr/bin/env bash
# The EMIR registry through ztfi-cli on the demo database opened under an alias other than LB:
# reports with disputes are entered and filled from a workbook, written as files that validate
# against schema/EMIR.xsd, cancelled (the cancelled report refuses every change), and the
# cancelling report deleted again.
# usage: ztfi_cli_emir.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"/home/server/{xml,sig,pdf,pdfsig} "$work/home/pdf"
"$build/demo/ztfi-demo-db" "$work/home" >/dev/null
mv "$work/home/ZTFI.sqlite" "$work/home/BORZA.sqlite"
sed -e "s#=server/#=$work/home/server/#" -e "s#^PDF_Path=pdf#PDF_Path=$work/home/pdf/#" \
    "$src/demo/ZTFI.ini" >"$work/home/ZTFI.ini"
export ZTFI_HOME="$work/home"
cli=("$build/ztfi-cli" BORZA u p ana)
# Runs the tool expecting the exit status; standard output in $out, standard error in $err.
run() {
  local want=$1; shift
  set +e; out=$("${cli[@]}" "$@" 2>"$work/err"); local rc=$?; set -e
  err=$(cat "$work/err")
  [[ $rc == "$want" ]] || fail "$* exit $rc (want $want): $err"
}

# The report dialog's checks, in their order.
run 1 emir-add-report "" "" -1 ""
[[ "$err" == "Neveljaven datum poročila." ]] || fail "first check: $err"
run 1 emir-add-report 01.05.2024 31.05.2024 -1 05.06.2024
[[ "$err" == "Neveljavno število nepotrjenih transakcij." ]] || fail "count check: $err"

# A day the calendar does not have is no date; an empty count is none, which is 0.
run 1 emir-add-report 05.06.2024 31.02.2026 0 05.06.2024
[[ "$err" == "Neveljaven datum do." ]] || fail "impossible day: $err"
run 0 emir-add-report 01.05.2024 31.05.2024 "" 05.06.2024
first=$(tail -n1 <<<"$out")
run 0 emir-add-report 01.06.2024 30.06.2024 3 05.07.2024
second=$(tail -n1 <<<"$out")
run 0 emir-edit-report "$first" 01.05.2024 31.05.2024 2 06.06.2024

# Disputes: the checks, then three good ones (amounts with thousands points, an open one).
run 1 emir-add-dispute "$first" "Kovač & Co" "" 02.05.2024 "" "" ""
[[ "$err" == "Neveljavna nasprotna stranka." ]] || fail "counterparty check: $err"
run 1 emir-add-dispute "$first" A B 10.05.2024 09.05.2024 5 ""
[[ "$err" == "Datum začetka spora mora biti pred datumom zaključka spora." ]] || fail "order check: $err"
run 1 emir-add-dispute 0 A B 10.05.2024 "" 5 ""
[[ "$err" == "Neveljaven ID poročila." ]] || fail "report check: $err"
# Texts the columns cannot hold, and which no XML file could carry.
run 1 emir-add-dispute "$first" $'A\x01' B 10.05.2024 "" 5 ""
[[ "$err" == "Stranka: vrednost vsebuje nedovoljen kontrolni znak." ]] || fail "control character: $err"
run 1 emir-add-dispute "$first" A B 10.05.2024 "" 5 "$(printf 'x%.0s' {1..300})"
[[ "$err" == "Opomba: vrednost je daljša od dovoljene (dolžina 300, največ 250)." ]] || fail "300 characters: $err"
run 0 emir-add-dispute "$first" "Kovač & Co" 'Banka "A" <d.d.>' 02.05.2024 20.05.2024 "1.234,56" "it's"
run 0 emir-add-dispute "$first" B C 03.05.2024 "" 5 ""
run 0 emir-add-dispute "$first" D E 04.05.2024 "" "" ""
last=$(tail -n1 <<<"$out")
run 0 emir-disputes "$first"
[[ $(wc -l <<<"$out") == 4 ]] || fail "disputes: $out"
grep -q $'\tKovač & Co\tBanka "A" <d.d.>\t02.05.2024\t20.05.2024\t1.234,56\t' <<<"$out" || fail "dispute row: $out"

# The dispute list as the grid exports it, read back by an independent reader of dBase files.
run 0 emir-disputes "$first" --out "$work/spori.dbf"
/usr/bin/python3 - "$work/spori.dbf" <<'PY' || fail "dispute list as dBase"
import sys, dbf
table = dbf.Table(sys.argv[1]); table.open()
parties = sorted(r.stranka.strip() for r in table)
assert parties == ["B", "D", "Kovač & Co"], parties
PY

# The list, with an empty lower bound, under its header.
run 0 emir-reports "" 31.05.2024
[[ $(head -n1 <<<"$out") == *$'\tZapSt\t'*$'\tZapStPreklicano' ]] || fail "list header: $out"
[[ $(wc -l <<<"$out") == 2 ]] || fail "list bounds: $out"

# The file: EMSP with three items, CR LF, valid against the schema; asked before replacing.
run 0 emir-xml "$first"
xml=$(tail -n1 <<<"$out")
[[ "$xml" == "$work/home/EMIR001_5912345000_0001_$(date +%y).xml" ]] || fail "file name: $xml"
xmllint --noout --schema "$src/schema/EMIR.xsd" "$xml" 2>/dev/null || fail "file not valid"
grep -q $'<SifraPorocila>EMSP</SifraPorocila>\r$' "$xml" || fail "EMSP with CR LF"
[[ $(grep -c '<Postavka>' "$xml") == 3 ]] || fail "three items"
grep -q '<Stranka>Kovač &amp; Co</Stranka>' "$xml" || fail "escaped party"
run 1 emir-xml "$first"
[[ "$err" == "Datoteka \"$xml\" že obstaja. Prepišem obstoječo datoteko ?" ]] || fail "replace question: $err"
run 0 emir-xml "$first" --replace

# Disputes from a workbook (a header line, then a row per dispute), all or none.
workbook() {  # FILE ROW... (cells separated by "|")
  /usr/bin/python3 - "$@" <<'PY'
import sys, zipfile
from xml.sax.saxutils import escape
path, rows = sys.argv[1], [["Stranka", "Nasprotna", "Od", "Do", "Vrednost", "Opombe"]] + [r.split("|") for r in sys.argv[2:]]
ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
data = "".join('<row r="%d">%s</row>' % (i + 1, "".join(
    '<c r="%s%d" t="inlineStr"><is><t>%s</t></is></c>' % ("ABCDEF"[j], i + 1, escape(v)) for j, v in enumerate(r) if v))
    for i, r in enumerate(rows))
with zipfile.ZipFile(path, "w") as z:
    z.writestr("_rels/.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="%s/officeDocument" Target="/xl/workbook.xml"/></Relationships>' % rel)
    z.writestr("xl/workbook.xml", '<?xml version="1.0"?><workbook %s xmlns:r="%s"><sheets><sheet name="Spori" sheetId="1" r:id="rIdS1"/></sheets></workbook>' % (ns, rel))
    z.writestr("xl/_rels/workbook.xml.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rIdS1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/></Relationships>' % rel)
    z.writestr("xl/worksheets/sheet1.xml", '<?xml version="1.0"?><worksheet %s><sheetData>%s</sheetData></worksheet>' % (ns, data))
PY
}
workbook "$work/spori.xlsx" "Prva|Banka|01.06.2024|10.06.2024|12.345,60|" "Druga|Banka|02.06.2024|||x"
run 0 emir-import "$second" "$work/spori.xlsx"
[[ "$err" == "Uvoz podatkov iz datoteke \"$work/spori.xlsx\" je končan." ]] || fail "import message: $err"
run 0 emir-disputes "$second"
grep -q $'\tPrva\tBanka\t01.06.2024\t10.06.2024\t12.345,60\t' <<<"$out" || fail "imported row: $out"
workbook "$work/slabi.xlsx" "Tretja|Banka|03.06.2024" "Cetrta||04.06.2024"
run 1 emir-import "$second" "$work/slabi.xlsx"
[[ "$err" == "Prišlo je do napake pri uvozu vrstice 2: Neveljavna nasprotna stranka." ]] || fail "bad row: $err"
run 0 emir-disputes "$second"
[[ $(wc -l <<<"$out") == 3 ]] || fail "nothing of a refused workbook stays: $out"
# A row below a blank line refuses the whole workbook; an amount with an exponent is kept.
workbook "$work/prazna.xlsx" "Peta|Banka|05.06.2024" "" "Sesta|Banka|06.06.2024"
run 1 emir-import "$second" "$work/prazna.xlsx"
[[ "$err" == "Prišlo je do napake pri uvozu vrstice 3: vrstica ni prebrana, ker se branje konča pri vrstici 2, ki v stolpcu A nima stranke; uvoz ni izveden." ]] || fail "unread row: $err"
workbook "$work/velik.xlsx" "Peta|Banka|05.06.2024||1e15|"
run 0 emir-import "$second" "$work/velik.xlsx"
run 0 emir-disputes "$second"
grep -q $'\tPeta\tBanka\t05.06.2024\t\t1.000.000.000.000.000,00\t' <<<"$out" || fail "amount with an exponent: $out"

# Cancelling: a new report refers to the cancelled one, which refuses every change.
run 0 emir-cancel "$first"
successor=$(tail -n1 <<<"$out")
run 0 emir-reports "" ""
grep -q $'^1\t1\t.*\tD\tDa\t' <<<"$out" || fail "cancelled row: $out"
grep -q $'^'"$successor"$'\t3\t01.05.2024\t31.05.2024\t0\t06.06.2024\t.*\t1\t1$' <<<"$out" || fail "successor: $out"
run 1 emir-add-dispute "$first" A B 10.05.2024 "" 5 ""
run 1 emir-edit-report "$first" 01.05.2024 31.05.2024 2 06.06.2024
run 1 emir-delete-dispute "$last"
run 1 emir-cancel "$first"
run 1 emir-import "$first" "$work/spori.xlsx"
run 1 emir-delete-report "$first"
[[ "$err" == "Brisanje preklicanega poročila ni dovoljeno." ]] || fail "delete of a cancelled report: $err"
run 0 emir-xml "$first" --replace
xmllint --noout --schema "$src/schema/EMIR.xsd" "$(tail -n1 <<<"$out")" 2>/dev/null || fail "notice not valid"
grep -q '<CancelledFlag>C</CancelledFlag>' "$(tail -n1 <<<"$out")" || fail "cancellation notice"

# Deleting the successor makes the cancelled report open again.
run 0 emir-delete-report "$successor"
run 0 emir-reports 01.05.2024 01.05.2024
grep -q $'\tN\tNe\t' <<<"$out" || fail "revived: $out"
run 0 emir-delete-dispute "$last"
run 0 emir-disputes "$first"
[[ $(wc -l <<<"$out") == 3 ]] || fail "dispute deleted: $out"
echo "ok"
