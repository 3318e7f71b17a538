#!/usr/bin/env bash
# The lists of ztfi-cli written to files (--out): the day's report rows as a PDF list report
# that poppler renders and reads, as a dBase table that Debian's python3-dbf reads back, as a
# Paradox table and as fixed-length text; the register likewise; an unknown extension and an
# unwritable file refused with exit 1 and no file left.
# usage: ztfi_cli_listout.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd) src=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
trap '[[ -n ${KEEP:-} ]] || rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"/home/server/{xml,sig,pdf,pdfsig} "$work/home/pdf" "$work/out"
"$build/demo/ztfi-demo-db" "$work/home" >/dev/null
sed -e "s#=server/#=$work/home/server/#" -e "s#^PDF_Path=pdf#PDF_Path=$work/home/pdf/#" "$src/demo/ZTFI.ini" >"$work/home/ZTFI.ini"
export ZTFI_HOME="$work/home"
unset QT_QPA_PLATFORM DISPLAY
cli=("$build/ztfi-cli" ZTFI u p ana)
day=08.12.2026

# The choice that the demo day waits for, then the rows as text for comparison.
set +e; "${cli[@]}" select $day $day >/dev/null 2>&1; set -e
sfvp=$(sqlite3 "$work/home/ZTFI.sqlite" "SELECT SFVP_OXU FROM DPATVP_SFVP WHERE ISIN='SI0031200007' AND SFVP_POROCANJE IS NULL LIMIT 1")
"${cli[@]}" choose SI0031200007 "$sfvp" >/dev/null
rows=$("${cli[@]}" select $day $day | sed '/^$/q' | sed '/^$/d')
count=$(($(wc -l <<<"$rows") - 1))
((count > 0)) || fail "no report rows"
first_value=$(awk -F'\t' 'NR==2{print $1}' <<<"$rows")
first_isin=$(awk -F'\t' 'NR==1{for(i=1;i<=NF;i++) if($i=="ISIN") c=i} NR==2{print $c}' <<<"$rows")

# PDF: the title, the header line with its page number, the first row's first value.
out=$("${cli[@]}" select $day $day --out "$work/out/rows.pdf")
[[ -z "$out" ]] || fail "select --out printed: $out"
pdftotext -layout "$work/out/rows.pdf" "$work/rows.txt"
grep -q "Transakcije" "$work/rows.txt" || fail "no title in the PDF"
grep -Eq "[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}, Stran 1" "$work/rows.txt" || fail "no header line"
grep -qF "$first_value" "$work/rows.txt" || fail "first value $first_value not in the PDF"
pdftoppm -r 40 -png -f 1 -l 1 "$work/out/rows.pdf" "$work/page" || fail "pdftoppm cannot render"
ls "$work"/page*.png >/dev/null || fail "no page rendered"

# dBase read back by python3-dbf: as many records as rows, the ISIN column holds the first ISIN.
"${cli[@]}" select $day $day --out "$work/out/ROWS.DBF"
[[ -f "$work/out/ROWS.DBF" ]] || fail "no .DBF under its own name"
/usr/bin/python3 - "$work/out/ROWS.DBF" "$count" "$first_isin" <<'PY' || fail "dBase read-back"
import sys, dbf
table = dbf.Table(sys.argv[1])
table.open()
assert len(table) == int(sys.argv[2]), (len(table), sys.argv[2])
assert "isin" in table.field_names, table.field_names
assert table[0]["isin"].strip() == sys.argv[3], table[0]["isin"]
table.close()
PY

# Paradox and fixed-length text: one record per row.
"${cli[@]}" select $day $day --out "$work/out/rows.db"
# The Paradox header: file type 2 (table without index) at byte 4, the record count at byte 6.
/usr/bin/python3 - "$work/out/rows.db" "$count" <<'PY' || fail "Paradox header"
import struct, sys
head = open(sys.argv[1], "rb").read(16)
assert head[4] == 2, head[4]
assert struct.unpack_from("<I", head, 6)[0] == int(sys.argv[2]), struct.unpack_from("<I", head, 6)
PY
"${cli[@]}" select $day $day --out "$work/out/rows.txt"
[[ $(wc -l <"$work/out/rows.txt") == "$count" ]] || fail "text lines $(wc -l <"$work/out/rows.txt") != $count"
/usr/bin/python3 -c 'import sys; data = open(sys.argv[1], "rb").read(); data.decode("cp1250"); lines = data.split(b"\r\n")[:-1]; assert len({len(l) for l in lines}) == 1' \
  "$work/out/rows.txt" || fail "text lines not Windows-1250 of one length in bytes"

# With --progress the rows written show on standard error, up to the last; the list is the same.
cp "$work/out/rows.txt" "$work/rows.before"
"${cli[@]}" select $day $day --out "$work/out/rows.txt" --progress 2>"$work/progress"
cmp -s "$work/rows.before" "$work/out/rows.txt" || fail "--progress changed the text list"
grep -qx "Izvoz seznama: Transakcije: $count / $count" "$work/progress" || fail "export progress: $(cat "$work/progress")"
"${cli[@]}" select $day $day --out "$work/out/rows.pdf" --progress 2>"$work/progress"
grep -qx "Izpis seznama: Transakcije: $count / $count" "$work/progress" || fail "print progress: $(cat "$work/progress")"

# The register as a PDF.
"${cli[@]}" register 01.12.2026 31.12.2026 --out "$work/out/register.pdf"
pdfinfo "$work/out/register.pdf" | grep -q "^Pages:" || fail "register PDF"
# Titled as the tab "Poročila" shows it, its columns apart: the identifier, then the day.
pdftotext -layout "$work/out/register.pdf" "$work/register.txt"
grep -q "Poročila" "$work/register.txt" || fail "no title in the register PDF"
grep -Eq "^ *[0-9]+ +[0-9]{2}\.[0-9]{2}\.[0-9]{4}" "$work/register.txt" || fail "register columns run together: $(cat "$work/register.txt")"

# Refusals: exit 1, a message, no file.
set +e; "${cli[@]}" select $day $day --out "$work/out/rows.xls" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "unknown extension exit $rc"
grep -q "unknown list file type" "$work/err" || fail "unknown extension message: $(cat "$work/err")"
set +e; "${cli[@]}" register $day $day --out "$work/none/reg.pdf" 2>"$work/err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "missing folder exit $rc"
grep -q "cannot write" "$work/err" || fail "missing folder message: $(cat "$work/err")"
chmod 555 "$work/out"
if [[ ! -w "$work/out" ]]; then
  set +e; "${cli[@]}" register $day $day --out "$work/out/locked.dbf" 2>/dev/null; rc=$?; set -e
  [[ $rc == 1 ]] || fail "read-only folder exit $rc"
fi
chmod 755 "$work/out"
[[ -z $(ls -A "$work/out" | grep -v -E '^(rows\.pdf|ROWS\.DBF|rows\.db|rows\.txt|register\.pdf)$') ]] ||
  fail "partial files left: $(ls -A "$work/out")"
# Links planted at the temporary names that lists once took (".NAME.PID.part.EXT") for the next
# 400 processes redirect nothing: the file they point at stays as it was.
echo "not a list" >"$work/victim"
chmod 600 "$work/victim"
next=$(($(sh -c 'echo $$') + 1))
/usr/bin/python3 - "$work/victim" "$work/out" "$next" <<'PY'
import os, sys
victim, folder, first = sys.argv[1], sys.argv[2], int(sys.argv[3])
for pid in range(first, first + 400):
    for ext in ("txt", "dbf", "db", "pdf"):
        os.symlink(victim, f"{folder}/.planted.{pid}.part.{ext}")
PY
for ext in txt dbf db pdf; do "${cli[@]}" register 01.12.2026 31.12.2026 --out "$work/out/planted.$ext"; done
[[ $(cat "$work/victim") == "not a list" && $(stat -c %a "$work/victim") == 600 ]] || fail "a planted link was followed"
find "$work/out" -name '.planted.*' -delete

# A full disk of 64 KB: every format exits 1 and the list of the name keeps every byte (as root,
# who can mount one).
if [[ $(id -u) == 0 ]] && mkdir "$work/full" && mount -t tmpfs -o size=64k tmpfs "$work/full"; then
  trap 'umount -l "$work/full" 2>/dev/null || true; [[ -n ${KEEP:-} ]] || rm -rf "$work"' EXIT
  head -c 60000 /dev/urandom >"$work/old"
  for ext in txt dbf db pdf; do
    cp "$work/old" "$work/full/rows.$ext"
    set +e; "${cli[@]}" select 01.12.2026 31.12.2026 --out "$work/full/rows.$ext" 2>"$work/err"; rc=$?; set -e
    [[ $rc == 1 ]] || fail "full disk .$ext exit $rc"
    grep -q "No space left on device" "$work/err" || fail "full disk .$ext message: $(cat "$work/err")"
    cmp -s "$work/old" "$work/full/rows.$ext" || fail "full disk .$ext changed the old file"
    [[ $(ls -A "$work/full") == "rows.$ext" ]] || fail "full disk .$ext left $(ls -A "$work/full")"
    rm "$work/full/rows.$ext"
  done
  umount "$work/full"
fi

set +e; "${cli[@]}" register $day $day --out 2>/dev/null; rc=$?; set -e
[[ $rc == 2 ]] || fail "--out without a file exit $rc"
echo "ok"
