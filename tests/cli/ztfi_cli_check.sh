#!/usr/bin/env bash
# The check of a day through ztfi-cli on the demo database: it stops for the instrument choice
# as the selection would (exit 3, the ISIN printed); on a day with two values that break their
# formats and one ISIN with a wrong check digit it lists both errors and the warning (exit 1),
# fixed only the warning (exit 0); the list goes to a file by its extension; the database stays
# byte for byte as it was, the pending selection included. Progress lines come with --progress only.
# usage: ztfi_cli_check.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"/home/server/{xml,sig,pdf,pdfsig} "$work/home/pdf"
"$build/demo/ztfi-demo-db" "$work/home" >/dev/null
sed -e "s#=server/#=$work/home/server/#" -e "s#^PDF_Path=pdf#PDF_Path=$work/home/pdf/#" \
    "$src/demo/ZTFI.ini" >"$work/home/ZTFI.ini"
export ZTFI_HOME="$work/home"
cli=("$build/ztfi-cli" ZTFI u p ana)
db="$work/home/ZTFI.sqlite"
day=08.12.2026
dump() { sqlite3 "$db" .dump >"$work/$1.sql"; }
unchanged() { dump after; cmp -s "$work/before.sql" "$work/after.sql" || fail "$1: the database changed"; }

# A first command brings the embedded database up to date.
"${cli[@]}" register $day $day >/dev/null

# The check stops where the selection would, and leaves the choice to the selection.
dump before
set +e; out=$("${cli[@]}" check $day $day 2>"$work/err"); rc=$?; set -e
[[ $rc == 3 && "$out" == "SI0031200007" ]] || fail "check before the choice exit $rc: $out"
unchanged "stopped check"
set +e; "${cli[@]}" select $day $day >/dev/null 2>&1; set -e
sfvp=$(sqlite3 "$db" "SELECT min(SFVP_OXU) FROM DPATVP_SFVP WHERE ISIN='SI0031200007' AND SFVP_POROCANJE IS NULL")
"${cli[@]}" choose SI0031200007 "$sfvp" >/dev/null

# Two currencies that break the format 3(a) on two trades, an ISIN with a wrong check digit on a
# third; a pending selection of the day.
sqlite3 "$db" "INSERT INTO VLT (SfVlt, KRT) VALUES (5, 'U5D'), (6, 'E1R');
               UPDATE PSL SET SfVlt = 5 WHERE IdPsl = 610093; UPDATE PSL SET SfVlt = 6 WHERE IdPsl = 610097;
               UPDATE SFVP SET ISIN = 'SI0032300268' WHERE SFVP = 41;"
"${cli[@]}" select $day $day >/dev/null
dump before
set +e; "${cli[@]}" check $day $day >"$work/out" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "check with errors exit $rc"
printf '%s\t%s\t%s\t%s\t%s\n' Raven RefStTransaC Polje Vrednost Pravilo \
  Napaka 900000610093 Valuta U5D "ni formata 3(a)" \
  Napaka 900000610097 Valuta E1R "ni formata 3(a)" \
  Opozorilo 900000610130 "Identifikacija instrumenta ISIN" SI0032300268 "napačna kontrolna števka ISIN (ISO 6166)" \
  >"$work/expected"
diff "$work/expected" "$work/out" >&2 || fail "the findings"
[[ ! -s "$work/err" ]] || fail "messages of a check that ran: $(cat "$work/err")"
unchanged "check"
[[ -z $(find "$work/home" -newer "$work/before.sql" -type f ! -name Log.txt) ]] || fail "the check wrote a file"

# The list as a fixed-length text file; an unknown extension is refused before the check runs.
set +e; "${cli[@]}" check $day $day --out "$work/findings.txt" >"$work/out"; rc=$?; set -e
[[ $rc == 1 && ! -s "$work/out" ]] || fail "check --out exit $rc"
grep -q "SI0032300268" "$work/findings.txt" || fail "the list file lacks the warning"
set +e; "${cli[@]}" check $day $day --out "$work/findings.csv" 2>/dev/null; rc=$?; set -e
[[ $rc == 1 && ! -e "$work/findings.csv" ]] || fail "unknown list type exit $rc"

# Fixed, the warning stays alone and the check passes.
sqlite3 "$db" "UPDATE VLT SET KRT = 'USD' WHERE SfVlt = 5; UPDATE VLT SET KRT = 'EUR' WHERE SfVlt = 6;"
out=$("${cli[@]}" check $day $day) || fail "check of the fixed day exit $?"
[[ "$out" == "$(sed -n '1p;4p' "$work/expected")" ]] || fail "findings of the fixed day: $out"
# Progress lines only with --progress (standard error is no terminal here); the list the same.
"${cli[@]}" check $day $day >"$work/plain" 2>"$work/plain.err"
"${cli[@]}" check $day $day --progress >"$work/progress" 2>"$work/progress.err"
cmp -s "$work/plain" "$work/progress" || fail "--progress changed the list"
[[ ! -s "$work/plain.err" ]] || fail "lines on standard error without --progress: $(cat "$work/plain.err")"
grep -qx "Nabor: nove transakcije: 2 / 8" "$work/progress.err" || fail "no selection step: $(cat "$work/progress.err")"
grep -qx "Preverjanje: XSD shema" "$work/progress.err" || fail "no schema step"
path=$("${cli[@]}" generate --progress $day $day 2>"$work/generate.err")
[[ -f "$path" ]] || fail "generate --progress printed $path"
grep -q '^XML poročilo: transakcije: \([0-9]*\) / \1$' "$work/generate.err" || fail "no last row: $(cat "$work/generate.err")"
grep -q '^Nabor: nove transakcije, vrstice: \([0-9]*\) / \1$' "$work/generate.err" || fail "no selected rows"
grep -qx "XML poročilo: preverjanje po XSD shemi" "$work/generate.err" || fail "no validation step"
echo "ztfi_cli_check: passed"
