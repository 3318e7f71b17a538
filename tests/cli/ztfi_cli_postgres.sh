#!/usr/bin/env bash
# The demo day through ztfi-cli on the PostgreSQL server that scripts/test starts: the demo
# database is loaded into a fresh server database, and the day is run on it and on the embedded
# engine with the same commands. The report rows, the code list, the report file and the
# register are the same (rows in any order where the statements leave the order open, and the
# reference numbers as a set: the sequence hands them out in the order the engine reads the
# trades). Then two desks generate two days at once while a third reads the register: each
# report holds its own day only.
# Skipped (exit 77) without the server.
# usage: ztfi_cli_postgres.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd) src=$(cd "$2" && pwd)
if [[ -z "${ZTFI_PG_CONNECTION:-}" ]]; then
  echo "no PostgreSQL server: scripts/test starts one"
  exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
db=ztfi_cli_$$
export PGPASSWORD=$ZTFI_PG_PASSWORD
psql=(psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$ZTFI_PG_PORT" -U "$ZTFI_PG_USER")
cleanup() {
  for d in "$db" "${db}_desks"; do
    "${psql[@]}" -d postgres -c "DROP DATABASE IF EXISTS $d WITH (FORCE)" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Two program folders on the same demo data: the embedded file, and the server's database.
"$build/demo/ztfi-demo-db" "$work/demo" >/dev/null
for home in embedded server desks; do
  mkdir -p "$work/$home"/server/{xml,sig,pdf,pdfsig} "$work/$home/pdf"
  sed -e "s#=server/#=$work/$home/server/#" -e "s#^PDF_Path=pdf#PDF_Path=$work/$home/pdf/#" \
    "$src/demo/ZTFI.ini" >"$work/$home/ZTFI.ini"
done
cp "$work/demo/ZTFI.sqlite" "$work/embedded/"
"${psql[@]}" -d postgres -c "CREATE DATABASE $db TEMPLATE ztfi_template"
/usr/bin/python3 "$src/tests/support/sqlite_to_postgres.py" "$work/demo/ZTFI.sqlite" "$src/schema/postgresql" |
  "${psql[@]}" -d "$db" -c "SET search_path = public, oracle" -f - >/dev/null
alias_entry() { printf '[ZTFI]\nDriver=ODBC\nServer=PostgreSQL\nConnectionString=%sDatabase=%s;\n' "$ZTFI_PG_CONNECTION" "$1"; }
alias_entry "$db" >"$work/server/aliases.ini"
alias_entry "${db}_desks" >"$work/desks/aliases.ini"

cli() { local home=$1; shift; ZTFI_HOME="$work/$home" "$build/ztfi-cli" ZTFI "$ZTFI_PG_USER" "$ZTFI_PG_PASSWORD" ana "$@"; }
day=08.12.2026

# The day stops for the choice on both engines; the same instrument is chosen.
for home in embedded server; do
  set +e; out=$(cli $home select $day $day 2>/dev/null); rc=$?; set -e
  [[ $rc == 3 && "$out" == "SI0031200007" ]] || fail "$home: select before the choice exit $rc: $out"
done
sfvp=$(sqlite3 "$work/embedded/ZTFI.sqlite" "SELECT min(SFVP_OXU) FROM DPATVP_SFVP WHERE ISIN='SI0031200007' AND SFVP_POROCANJE IS NULL")
for home in embedded server; do
  [[ -z $(cli $home choose SI0031200007 "$sfvp") ]] || fail "$home: ISINs still pending"
done
# The desks below start from here, on a copy.
"${psql[@]}" -d postgres -c "CREATE DATABASE ${db}_desks TEMPLATE $db"

# The report rows and the code list: the same rows; IDREFATVP compared as a set.
for home in embedded server; do cli $home select $day $day >"$work/$home.select"; done
column=$(head -n1 "$work/embedded.select" | tr '\t' '\n' | grep -nx IDREFATVP | cut -d: -f1)
[[ -n "$column" ]] || fail "no IDREFATVP column"
rows() { cut -f"$column" --complement "$work/$1.select" | sort; }
references() { awk 'NF==0{exit} NR>1' "$work/$1.select" | cut -f"$column" | sort; }
diff <(rows embedded) <(rows server) >&2 || fail "the report rows or the code list differ"
diff <(references embedded) <(references server) >&2 || fail "the reference numbers differ"
(( $(wc -l <"$work/server.select") > 10 )) || fail "too few rows: $(wc -l <"$work/server.select")"

# The report: the same file, its records in any order; valid against the schema.
for home in embedded server; do cli $home generate $day $day | tail -n1 >"$work/$home.report"; done
xmllint --noout --schema "$src/schema/NTRS.xsd" "$(cat "$work/server.report")" 2>/dev/null || fail "report not schema-valid"
/usr/bin/python3 - "$(cat "$work/embedded.report")" "$(cat "$work/server.report")" <<'PY' || fail "the reports differ"
import sys
import xml.etree.ElementTree as ET

def records(path):
    root = ET.parse(path).getroot()
    sections = []
    for section in root:
        texts = []
        for record in section:
            record.tail = None
            texts.append(ET.tostring(record, encoding="unicode"))
        sections.append((section.tag, sorted(texts)))
    return sections

embedded, server = records(sys.argv[1]), records(sys.argv[2])
assert embedded == server, [(e[0], len(e[1]), len(s[1])) for e, s in zip(embedded, server)]
PY
for home in embedded server; do cli $home register 01.12.2026 31.12.2026 >"$work/$home.register"; done
diff "$work/embedded.register" "$work/server.register" >&2 || fail "the registers differ"

# The password off the command line: "-" reads ZTFI_PASSWORD, else the first line of standard
# input; a wrong one is the server's refusal. sign reads its pass phrase there: only the variable.
pw() { ZTFI_HOME="$work/server" "$build/ztfi-cli" ZTFI "$ZTFI_PG_USER" - ana "$@"; }
ZTFI_PASSWORD=$ZTFI_PG_PASSWORD pw register 01.12.2026 31.12.2026 </dev/null | diff - "$work/server.register" >&2 ||
  fail "register with ZTFI_PASSWORD"
printf '%s\n' "$ZTFI_PG_PASSWORD" | (unset ZTFI_PASSWORD; pw register 01.12.2026 31.12.2026) |
  diff - "$work/server.register" >&2 || fail "register with the password on standard input"
set +e
ZTFI_PASSWORD=wrong pw register 01.12.2026 31.12.2026 >/dev/null 2>&1; rc=$?
[[ $rc == 1 ]] || fail "a wrong ZTFI_PASSWORD exit $rc"
echo secret | (unset ZTFI_PASSWORD; pw sign x.xml signer >/dev/null 2>&1); rc=$?
[[ $rc == 2 ]] || fail "sign with the password on standard input exit $rc"
set -e

# The check of a day changes nothing on the server either, and finds what it finds embedded.
# (pg_dump of 15.14 and later brackets its output with a random \restrict key; that is no change.)
dump_server() {
  pg_dump -a -h 127.0.0.1 -p "$ZTFI_PG_PORT" -U "$ZTFI_PG_USER" "$db" | grep -v -e '^SELECT pg_catalog.setval' -e '^\\restrict ' -e '^\\unrestrict '
}
dump_server >"$work/before.sql"
for home in embedded server; do cli $home check 03.12.2026 03.12.2026 | sort >"$work/$home.check" || fail "$home: check exit $?"; done
dump_server >"$work/after.sql"
cmp -s "$work/before.sql" "$work/after.sql" || fail "the check changed the server's database"
diff "$work/embedded.check" "$work/server.check" >&2 || fail "the checks differ"

# Two desks generate the two days of trades at once while a third reads the register: each
# succeeds or fails with its message; a report holds the trades of its own day only.
days=(08.12.2026 09.12.2026)
for d in "${days[@]}"; do
  ( set +e; cli desks generate $d $d >"$work/desk.$d" 2>"$work/desk.$d.err"; echo $? >"$work/desk.$d.rc" ) &
done
# a third desk reads the register meanwhile
( set +e; cli desks register 01.12.2026 31.12.2026 >"$work/reader" 2>&1; echo $? >"$work/reader.rc" ) &
wait
[[ $(cat "$work/reader.rc") == 0 ]] || fail "the register could not be read: $(cat "$work/reader")"
grep -q "TRDAT01_5912345000_0233_26.xml" "$work/reader" || fail "the register read lacks the sent report"
ok=0
for d in "${days[@]}"; do
  rc=$(cat "$work/desk.$d.rc")
  if [[ $rc == 0 ]]; then
    ok=$((ok + 1))
  else
    [[ -s "$work/desk.$d.err" ]] || fail "desk of $d failed (exit $rc) without a message"
    # both days have trades: a desk must not lose its selection to the other
    ! grep -q "no transactions to report" "$work/desk.$d.err" || fail "desk of $d lost its selection"
  fi
done
(( ok >= 1 )) || fail "neither desk generated: $(cat "$work"/desk.*.err)"
desks() { "${psql[@]}" -d "${db}_desks" -Atc "$1"; }
mixed=$(desks "SELECT count(*) FROM (SELECT P.DPATVPID FROM DPATVPPSL P JOIN PSL S ON S.IdPsl = P.IdPsl
  WHERE P.DPATVPID > 233 AND P.ISSTN = 'N' GROUP BY P.DPATVPID HAVING count(DISTINCT date_trunc('day', S.Dan)) > 1) x")
[[ $mixed == 0 ]] || fail "a report holds trades of two days"
reports=$(desks "SELECT count(*) FROM DPATVP WHERE DPATVPID > 233")
[[ $reports == "$ok" ]] || fail "$reports reports registered for $ok successful desks"
echo "desks: $ok of 2 generated"
