#!/usr/bin/env bash
# The daily job through ztfi-cli on the demo database: the selection stops for the ISIN carried
# by two live instruments; the instrument is chosen, and the day is generated, validated against
# the schema, signed for the regulator, registered, rejected, regenerated and confirmed. The
# signature is checked with the regulator's key.
# usage: ztfi_cli_e2e.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
source "$src/tests/cli/gpg_homes.sh"
ATVP="$regulator"
cleanup() {
  for h in firm reg; do gpgconf --homedir "$work/$h" --kill gpg-agent 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work"/home/server/{xml,sig,pdf,pdfsig} "$work/home/pdf"
"$build/demo/ztfi-demo-db" "$work/home" >/dev/null
sed -e "s#=server/#=$work/home/server/#" -e "s#^ATVP_Uporabnik=.*#ATVP_Uporabnik=$ATVP#" \
    -e "s#^PDF_Path=pdf#PDF_Path=$work/home/pdf/#" "$src/demo/ZTFI.ini" >"$work/home/ZTFI.ini"
gpg_homes "$work" "$build"

export ZTFI_HOME="$work/home" GNUPGHOME="$work/firm"
cli=("$build/ztfi-cli" ZTFI u p ana)

# Wrong usage.
set +e; "${cli[@]}" select 2026-12-08 2>/dev/null; rc=$?; set -e
[[ $rc == 2 ]] || fail "wrong usage exit $rc"

# The demo day stops for the choice and names the ISIN.
set +e; out=$("${cli[@]}" select 08.12.2026 08.12.2026 2>"$work/err"); rc=$?; set -e
[[ $rc == 3 ]] || fail "select exit $rc"
[[ "$out" == "SI0031200007" ]] || fail "pending ISINs: $out"
grep -qx "Izberi ustrezen finančni instrument za poročanje!" "$work/err" || fail "stop message"

# The choice: the pending row of the ISIN reports the instrument its trade was booked on.
sfvp=$(sqlite3 "$work/home/ZTFI.sqlite" "SELECT SFVP_OXU FROM DPATVP_SFVP WHERE ISIN='SI0031200007' AND SFVP_POROCANJE IS NULL LIMIT 1")
[[ -n "$sfvp" ]] || fail "no pending row"
set +e; "${cli[@]}" choose SI0031200007 notanumber 2>/dev/null; rc=$?; set -e
[[ $rc == 2 ]] || fail "choose with a wrong code exit $rc"
out=$("${cli[@]}" choose SI0031200007 "$sfvp")
[[ -z "$out" ]] || fail "ISINs still pending after the choice: $out"

# The day now runs through: rows and code list under their headers.
out=$("${cli[@]}" select 08.12.2026 08.12.2026)
head -n1 <<<"$out" | grep -q $'\tISIN\t' || fail "report row header"
grep -q $'\tIntIdent\t' <<<"$out" || fail "code list header"

report=$("${cli[@]}" generate 08.12.2026 08.12.2026 | tail -n1)
[[ -f "$report" ]] || fail "no report $report"
xmllint --noout --schema "$src/schema/NTRS.xsd" "$report" 2>/dev/null || fail "report not schema-valid"
name=$(basename "$report" .xml)

sig=$(echo secret | "${cli[@]}" sign "$name.xml" "$firm" | tail -n1)
[[ -f "$sig" ]] || fail "no signature"
g reg --decrypt --output "$work/plain.xml" "$sig" 2>"$work/verify" || fail "regulator cannot decrypt"
grep -q 'Good signature from "Demo Firm' "$work/verify" || fail "signature not good"
cmp -s "$work/plain.xml" "$work/home/server/xml/$name.xml" || fail "decrypted report differs"

reg=$("${cli[@]}" register 08.12.2026 08.12.2026)
id=$(awk -F'\t' 'NR==2{print $1}' <<<"$reg"); serial=$(awk -F'\t' 'NR==2{print $4}' <<<"$reg")
awk -F'\t' 'NR==2{exit !($3 != "")}' <<<"$reg" || fail "send date not registered"

"${cli[@]}" reject "$id" "$serial"
report2=$("${cli[@]}" regenerate "$id" "$serial" | tail -n1)
xmllint --noout --schema "$src/schema/NTRS.xsd" "$report2" 2>/dev/null || fail "regenerated report not valid"
serial2=$(( serial + 1 ))
echo secret | "${cli[@]}" sign "$(basename "$report2")" "$firm" >/dev/null
"${cli[@]}" confirm "$id" "$serial2"
reg=$("${cli[@]}" register 08.12.2026 08.12.2026)
grep -q $'\tZavrnjeno\t' <<<"$reg" || fail "rejected report not listed: $reg"
grep -q $'\tPotrjeno\t' <<<"$reg" || fail "regenerated report not confirmed: $reg"
echo "ztfi-cli end to end: passed"
