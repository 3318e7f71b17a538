#!/usr/bin/env bash
# Desks on one PostgreSQL server (the one scripts/test starts), each signed in with a role that
# has only the rights of schema/postgresql/grants.sql: the demo day is chosen, imported and
# generated on two desks at once and one after the other; the desk whose report another desk
# replaced in the register is refused at signing (real gpg) and the register stays unsent, while
# the fresh report is delivered. Three desks add EMIR reports at once and get serials of their
# own. A workbook imports as on the embedded engine. A server that never answers ends the
# command with exit 1 in time, and a refused statement shows the server's reason without Qt's
# driver lines.
# Skipped (exit 77) without the server.
# usage: ztfi_cli_desks.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd) src=$(cd "$2" && pwd)
if [[ -z "${ZTFI_PG_CONNECTION:-}" ]]; then
  echo "no PostgreSQL server: scripts/test starts one"
  exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
db=ztfi_desks_$$ role=ztfi_desk_$$ bare=ztfi_bare_$$
source "$src/tests/cli/gpg_homes.sh"
export PGPASSWORD=$ZTFI_PG_PASSWORD
psql=(psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$ZTFI_PG_PORT" -U "$ZTFI_PG_USER")
cleanup() {
  jobs -p | xargs -r kill 2>/dev/null || true
  "${psql[@]}" -d postgres -c "DROP DATABASE IF EXISTS $db WITH (FORCE)" 2>/dev/null || true
  for r in "$role" "$bare"; do "${psql[@]}" -d postgres -c "DROP ROLE IF EXISTS $r" 2>/dev/null || true; done
  for h in firm reg; do gpgconf --homedir "$work/$h" --kill gpg-agent 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The keys of the firm and of the regulator.
gpg_homes "$work" "$build"
export GNUPGHOME="$work/firm"

# The demo data in a server database; desks A, B and C share its server folders; the embedded
# desk works on the demo file.
"$build/demo/ztfi-demo-db" "$work/demo" >/dev/null
mkdir -p "$work"/server/{xml,sig,pdf,pdfsig}
for home in A B C embedded; do
  mkdir -p "$work/$home/pdf"
  sed -e "s#=server/#=$work/server/#" -e "s#^ATVP_Uporabnik=.*#ATVP_Uporabnik=$regulator#" \
    -e "s#^PDF_Path=pdf#PDF_Path=$work/$home/pdf/#" "$src/demo/ZTFI.ini" >"$work/$home/ZTFI.ini"
  [[ $home == embedded ]] ||
    printf '[ZTFI]\nDriver=ODBC\nServer=PostgreSQL\nConnectionString=%sDatabase=%s;\n' "$ZTFI_PG_CONNECTION" "$db" \
      >"$work/$home/aliases.ini"
done
cp "$work/demo/ZTFI.sqlite" "$work/embedded/"
"${psql[@]}" -d postgres -c "CREATE DATABASE $db TEMPLATE ztfi_template"
/usr/bin/python3 "$src/tests/support/sqlite_to_postgres.py" "$work/demo/ZTFI.sqlite" "$src/schema/postgresql" |
  "${psql[@]}" -d "$db" -c "SET search_path = public, oracle" -f - >/dev/null
"${psql[@]}" -d postgres -c "CREATE ROLE $role LOGIN PASSWORD 'desk'" -c "CREATE ROLE $bare LOGIN PASSWORD 'desk'"
"${psql[@]}" -d "$db" -v desk="$role" -f "$src/schema/postgresql/grants.sql"
server() { "${psql[@]}" -d "$db" -Atc "$1"; }

cli() { local home=$1; shift; ZTFI_HOME="$work/$home" "$build/ztfi-cli" ZTFI "$role" desk ana "$@"; }
day=08.12.2026

# A port that takes the connection and never answers: the desk's command ends with exit 1 within
# 30 s. It waits alongside the rest of the script, which waits only for its own commands.
/usr/bin/python3 -c '
import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(8)
print(s.getsockname()[1], flush=True); sys.stdout.close(); time.sleep(120)' >"$work/silent.port" 2>/dev/null &
for _ in $(seq 50); do [[ -s "$work/silent.port" ]] && break; sleep 0.1; done
mkdir -p "$work/silent"
cp "$work/A/ZTFI.ini" "$work/silent/"
printf '[ZTFI]\nDriver=ODBC\nServer=PostgreSQL\nConnectionString=DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Port=%s;Database=%s;\n' \
  "$(cat "$work/silent.port")" "$db" >"$work/silent/aliases.ini"
(
  start=$(date +%s)
  set +e; cli silent register 01.12.2026 31.12.2026 >/dev/null 2>"$work/silent.err"; echo $? >"$work/silent.rc"
  echo $(( $(date +%s) - start )) >"$work/silent.took"
) &
silent=$!

# The day stops for its instrument choice; the choice made, a workbook of the next day imports
# on the server as on the embedded engine.
for home in A embedded; do
  set +e; out=$(cli $home select $day $day 2>"$work/err"); rc=$?; set -e
  [[ $rc == 3 && "$out" == "SI0031200007" ]] || fail "$home: select before the choice exit $rc: $out $(cat "$work/err")"
done
sfvp=$(sqlite3 "$work/embedded/ZTFI.sqlite" "SELECT min(SFVP_OXU) FROM DPATVP_SFVP WHERE ISIN='SI0031200007' AND SFVP_POROCANJE IS NULL")
for home in A embedded; do
  [[ -z $(cli $home choose SI0031200007 "$sfvp") ]] || fail "$home: ISINs still pending"
done
next=09.12.2026
cli embedded export $next $next "$work/day.xlsx" >/dev/null
# (the export holds a cancellation of an earlier day, which ends the import with exit 1)
for home in A embedded; do
  set +e; cli $home import $next "$work/day.xlsx" 2>"$work/$home.import.err"; echo $? >"$work/$home.import.rc"; set -e
  cli $home imports $next >"$work/$home.imports"
done
diff "$work/embedded.import.rc" "$work/A.import.rc" >&2 || fail "the import ended otherwise"
diff "$work/embedded.import.err" "$work/A.import.err" >&2 || fail "the import's messages differ"
diff "$work/embedded.imports" "$work/A.imports" >&2 || fail "the imported rows differ"
(( $(wc -l <"$work/A.imports") > 1 )) || fail "nothing imported"

# Two desks generate the same day at once: each generates or fails with its message.
generating=()
for home in A B; do
  ( set +e; cli $home generate $day $day >"$work/$home.gen" 2>"$work/$home.gen.err"; echo $? >"$work/$home.rc" ) &
  generating+=($!)
done
wait "${generating[@]}"
for home in A B; do
  rc=$(cat "$work/$home.rc")
  [[ $rc == 0 || ( $rc == 1 && -s "$work/$home.gen.err" ) ]] || fail "$home: generate exit $rc: $(cat "$work/$home.gen.err")"
done
[[ $(cat "$work/A.rc") == 0 || $(cat "$work/B.rc") == 0 ]] || fail "neither desk generated"
# Then once more one after the other: desk B's selection replaces desk A's unsent report.
cli A generate $day $day >"$work/A.gen"
cli B generate $day $day >"$work/B.gen"
file=$(basename "$(tail -n1 "$work/B.gen")")
[[ $(basename "$(tail -n1 "$work/A.gen")") == "$file" ]] || fail "the desks' reports have different names"
[[ $(server "SELECT count(*) FROM DPATVP WHERE XML_FILE = '$file' AND DAN IS NULL") == 1 ]] ||
  fail "not exactly one unsent register row of $file"
[[ $(server "SELECT SHA256 FROM DPATVPXML X JOIN DPATVP D USING (DPATVPID, ZAPST) WHERE D.XML_FILE = '$file'") == \
   $(sha256sum "$work/B/$file" | cut -d' ' -f1) ]] || fail "the register's digest is not desk B's file"
cmp -s "$work/A/$file" "$work/B/$file" && fail "the two desks wrote the same file"

# Desk A's file is refused at signing: exit 1, the message, nothing sent or delivered.
set +e; echo secret | cli A sign "$file" "$firm" >"$work/A.sign" 2>"$work/A.sign.err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "the replaced report was signed (exit $rc)"
grep -q "je bilo medtem zamenjano z novejšim poročilom na drugi delovni postaji" "$work/A.sign.err" ||
  fail "message: $(cat "$work/A.sign.err")"
[[ $(server "SELECT count(*) FROM DPATVP WHERE XML_FILE = '$file' AND DAN IS NULL") == 1 ]] || fail "the register was changed"
[[ ! -e "$work/server/xml/$file" ]] || fail "the replaced report was delivered"
# Desk B's file is delivered whole and the register row sent.
digest=$(sha256sum "$work/B/$file" | cut -d' ' -f1)
echo secret | cli B sign "$file" "$firm" >"$work/B.sign" 2>"$work/B.sign.err" || fail "B: sign: $(cat "$work/B.sign.err")"
[[ $(sha256sum "$work/server/xml/$file" | cut -d' ' -f1) == "$digest" ]] || fail "desk B's report was not delivered"
[[ $(server "SELECT count(*) FROM DPATVP WHERE XML_FILE = '$file' AND DAN IS NOT NULL") == 1 ]] || fail "not recorded as sent"
g reg --decrypt --output "$work/delivered.xml" "$(tail -n1 "$work/B.sign")" 2>"$work/verify" ||
  fail "the signature does not open: $(cat "$work/verify")"
grep -q 'Good signature from "Demo Firm' "$work/verify" || fail "signature not good"
cmp -s "$work/delivered.xml" "$work/server/xml/$file" || fail "the signed report is not the delivered one"

# Three desks add EMIR reports at once: every serial is its own.
adding=()
for home in A B C; do
  ( for i in 1 2 3 4; do cli $home emir-add-report 01.05.2024 31.05.2024 0 05.06.2024 >/dev/null || echo "$home" >>"$work/emir.failed"; done ) &
  adding+=($!)
done
wait "${adding[@]}"
[[ ! -e "$work/emir.failed" ]] || fail "EMIR reports failed on: $(cat "$work/emir.failed")"
[[ $(server "SELECT count(*) - count(DISTINCT ZapSt) FROM EMIRPOROCILO") == 0 &&
   $(server "SELECT count(*) FROM EMIRPOROCILO WHERE DanOd = TO_DATE('01.05.2024', 'dd.mm.yyyy')") -ge 12 ]] ||
  fail "EMIR serials repeat: $(server "SELECT string_agg(ZapSt::text, ',' ORDER BY ZapSt) FROM EMIRPOROCILO")"

# The silent server's desk has given up by now (it ran alongside).
wait "$silent"
rc=$(cat "$work/silent.rc") took=$(cat "$work/silent.took")
[[ $rc == 1 && -s "$work/silent.err" ]] || fail "silent server: exit $rc: $(cat "$work/silent.err")"
(( took < 30 )) || fail "silent server: $took s"

# A role without the grants: the server's refusal, and no line of Qt's drivers.
set +e; ZTFI_HOME="$work/A" "$build/ztfi-cli" ZTFI "$bare" desk ana register 01.12.2026 31.12.2026 >/dev/null 2>"$work/bare.err"; rc=$?; set -e
[[ $rc == 1 ]] || fail "a role without rights read the register (exit $rc)"
grep -q "permission denied" "$work/bare.err" || fail "no reason: $(cat "$work/bare.err")"
! grep -q "QODBC\|QSql" "$work/bare.err" || fail "driver lines on standard error: $(cat "$work/bare.err")"
echo "desks: passed (silent server given up after $took s)"
