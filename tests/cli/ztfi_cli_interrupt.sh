#!/usr/bin/env bash
# SIGINT and SIGTERM of ztfi-cli on a day of 20,000 trades: a signal while the report is written
# stops the generation with its message and leaves no report file, no temporary file and no
# register row, the process then ending by the signal; the next generation makes the report.
# A signal while the check writes its report leaves the database byte for byte as it was.
# usage: ztfi_cli_interrupt.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
running=
# A command still running when a check fails is stopped before its folder goes.
trap '[[ -z $running ]] || kill -9 "$running" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"/home/server/{xml,sig,pdf,pdfsig} "$work/home/pdf"
"$build/demo/ztfi-demo-db" "$work/home" >/dev/null
sed -e "s#=server/#=$work/home/server/#" -e "s#^PDF_Path=pdf#PDF_Path=$work/home/pdf/#" \
    "$src/demo/ZTFI.ini" >"$work/home/ZTFI.ini"
export ZTFI_HOME="$work/home"
cli=("$build/ztfi-cli" ZTFI u p ana)
db="$work/home/ZTFI.sqlite"
day=09.12.2026

# A first command brings the embedded database up to date; then 300 shares of the exchange and
# 20,000 trades of the day in them.
"${cli[@]}" register $day $day >/dev/null
sqlite3 "$db" <<'SQL'
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300)
INSERT INTO SFVP (SFVP, ISIN, KRT, NZV, CFI, PorocanjeZTFI, SFOSBIZD, SFFIN, DANSPR, SfVLTNMN, KOS)
SELECT 100000 + i, printf('SI9%08d%d', i, i % 10), printf('B%05d', i), printf('Delnica %d d.d.', i), 'ESVUFR',
       'D', 20, 1, 46000, 1, 'D' FROM n;
INSERT INTO KTC (SFKTC, SFVP, SFTRG, Dan, SfSgt) SELECT SFVP * 10, SFVP, 8, 42000, 'P' FROM SFVP WHERE SFVP > 100000;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000)
INSERT INTO PSL (IdPsl, Dan, Cas, SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, IdPog)
SELECT 2000000 + i, 46365, 46365.375 + i / 100000.0, CASE WHEN i % 2 = 0 THEN 'N' ELSE 'P' END,
       CASE WHEN i % 3 = 0 THEN 'L' ELSE 'K' END, 100001 + i % 300, 8, 1, 10 + i % 500, 10 + (i % 1000) / 100.0,
       CASE WHEN i % 3 = 0 THEN 1000 ELSE 1100 + i % 6 END FROM n;
SQL

# Runs the command in the background with --progress and sends the signal once the report's
# transactions are being written; the exit status is that of the process.
interrupted() {
  local signal=$1; shift
  : >"$work/err"
  # In a job of its own: a script's background command would ignore SIGINT.
  set -m
  "${cli[@]}" "$@" --progress >"$work/out" 2>"$work/err" &
  set +m
  local pid=$! waited=0
  running=$pid
  until grep -q "^XML poročilo: transakcije" "$work/err"; do
    kill -0 $pid 2>/dev/null || fail "$* ended before its report: $(cat "$work/err")"
    sleep 0.02
    ((++waited < 3000)) || fail "$* never wrote its report"
  done
  kill -s "$signal" $pid
  set +e; wait $pid; status=$?; set -e
  running=
}
leftovers() { find "$work/home" -maxdepth 1 \( -name 'TRDAT*' -o -name '*.part' \) -printf '%f\n'; }

registered=$(sqlite3 "$db" "SELECT COUNT(*) FROM DPATVP")
interrupted INT generate $day $day
[[ $status == 130 ]] || fail "generate after SIGINT exit $status: $(cat "$work/err")"
grep -qx "Generiranje XML poročila je prekinjeno! Datoteka poročila ni zapisana." "$work/err" ||
  fail "no message of the cancel: $(cat "$work/err")"
[[ -z $(leftovers) ]] || fail "left after SIGINT: $(leftovers)"
[[ $(sqlite3 "$db" "SELECT COUNT(*) FROM DPATVP") == "$registered" ]] || fail "a report was registered"

path=$("${cli[@]}" generate $day $day | tail -n1)
[[ -f "$path" ]] || fail "the next generation printed $path"

sqlite3 "$db" .dump >"$work/before.sql"
interrupted TERM check $day $day
[[ $status == 143 ]] || fail "check after SIGTERM exit $status: $(cat "$work/err")"
grep -qx "Preverjanje nabora je prekinjeno! V bazi ni nič spremenjeno." "$work/err" ||
  fail "no message of the cancelled check: $(cat "$work/err")"
sqlite3 "$db" .dump >"$work/after.sql"
cmp -s "$work/before.sql" "$work/after.sql" || fail "the cancelled check changed the database"
echo "ok"
