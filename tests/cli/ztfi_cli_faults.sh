#!/usr/bin/env bash
# ztfi-cli under the faults a careful operator tries, on the demo database with real gpg: broken
# ZTFI.ini files, a period that ends before it starts, files that are not waiting reports, an
# empty or wrong pass phrase, a missing, full or hanging server folder (while another desk
# imports), a FIFO under the report's name, a kill between the two copies of a delivery and its
# retry, a failed delivery over an earlier copy, two signings of one report at once. Whatever did
# not happen exits 1 with its reason and leaves the report local and unrecorded, and the server
# folders as they were; whatever did is whole.
# usage: ztfi_cli_faults.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/ztfiXXXX")
source "$src/tests/cli/gpg_homes.sh"
cleanup() {
  umount -l "$xmlServer" 2>/dev/null || true
  for h in firm reg; do gpgconf --homedir "$work/$h" --kill gpg-agent 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

home=$work/home db=$work/home/ZTFI.sqlite xmlServer=$work/home/server/xml sigServer=$work/home/server/sig
mkdir -p "$xmlServer" "$sigServer" "$home"/server/{pdf,pdfsig} "$home/pdf"
"$build/demo/ztfi-demo-db" "$home" >/dev/null
sed -e "s#=server/#=$home/server/#" -e "s#^ATVP_Uporabnik=.*#ATVP_Uporabnik=$regulator#" \
    -e "s#^PDF_Path=pdf#PDF_Path=$home/pdf/#" "$src/demo/ZTFI.ini" >"$work/good.ini"
cp "$work/good.ini" "$home/ZTFI.ini"
gpg_homes "$work" "$build"

export ZTFI_HOME="$home" GNUPGHOME="$work/firm"
cli=("$build/ztfi-cli" ZTFI u p ana)

# run CMD...: runs a command, keeping its exit status in rc and its output in out and err.
run() { set +e; "$@" >"$work/out" 2>"$work/err"; rc=$?; set -e; }
expect() { [[ $rc == "$1" ]] || fail "$2: exit $rc: $(cat "$work/err")"; }
said() { grep -qF -- "$1" "$work/err" || fail "$2: no \"$1\" in: $(cat "$work/err")"; }
database() { sqlite3 "$db" .dump | md5sum; }
sign() { "${cli[@]}" sign "$1" "$firm" <<<"$2"; }
sent() { sqlite3 "$db" "SELECT COUNT(*) FROM DPATVP WHERE XML_FILE='$1' AND DAN IS NOT NULL"; }
serverFiles() { ls -A "$xmlServer" "$sigServer" | grep -v ':$' | grep . || true; }
opens() {  # the signature decrypts with the regulator's key to the delivered report
  g reg --decrypt --output "$work/plain" "$1" 2>"$work/verify" || fail "regulator cannot decrypt $1"
  grep -q 'Good signature from "Demo Firm' "$work/verify" || fail "signature of $1 not good"
  cmp -s "$work/plain" "$2" || fail "$1 does not hold $2"
  rm -f "$work/plain"
}

# The demo day needs the choice of an instrument first.
run "${cli[@]}" select 08.12.2026 08.12.2026
expect 3 "first selection"
sfvp=$(sqlite3 "$db" "SELECT SFVP_OXU FROM DPATVP_SFVP WHERE ISIN='SI0031200007' AND SFVP_POROCANJE IS NULL LIMIT 1")
"${cli[@]}" choose SI0031200007 "$sfvp" >/dev/null
# A workbook of the day, for another desk to import while a signing hangs.
day=08.12.2026
"${cli[@]}" export $day $day "$work/day.xls" >/dev/null

# Every start-up message of the configuration is an error for the tool: nothing is touched.
before=$(database)
for kind in missing empty utf-16 bad-passphrase missing-pdf-folder; do
  msg="Prosim preverite ZTFI.ini fajl, manjka ATVP_Uporabnik!!"
  case $kind in
    missing) rm "$home/ZTFI.ini"; msg="Manjka .ini datoteka!" ;;
    empty) : >"$home/ZTFI.ini" ;;
    utf-16) iconv -f UTF-8 -t UTF-16 "$work/good.ini" >"$home/ZTFI.ini" ;;
    bad-passphrase) sed 's/^PassPhrase=.*/PassPhrase=ZZ/' "$work/good.ini" >"$home/ZTFI.ini"
      msg="Vrednost PassPhrase v ZTFI.ini ni veljavna in je prezrta." ;;
    missing-pdf-folder) sed "s#^PDF_Server=.*#PDF_Server=$work/nowhere#" "$work/good.ini" >"$home/ZTFI.ini"
      msg="Direktorij $work/nowhere ne obstaja!" ;;
  esac
  run "${cli[@]}" generate 08.12.2026 08.12.2026
  expect 1 "generate with a $kind ZTFI.ini"
  said "$msg" "$kind ZTFI.ini"
  [[ ! -s "$work/out" ]] || fail "$kind ZTFI.ini: printed $(cat "$work/out")"
  compgen -G "$home/*.xml" >/dev/null && fail "$kind ZTFI.ini: a report was written"
  [[ $(database) == "$before" ]] || fail "$kind ZTFI.ini: the database changed"
  cp "$work/good.ini" "$home/ZTFI.ini"
done

# A period that ends before it starts.
for command in select delete-selection generate; do
  run "${cli[@]}" $command 09.12.2026 08.12.2026
  expect 1 "$command of a reversed period"
  said "Datum do 08.12.2026 je pred datumom od 09.12.2026!" "$command of a reversed period"
  [[ $(database) == "$before" ]] || fail "$command of a reversed period changed the database"
done

report=$("${cli[@]}" generate 08.12.2026 08.12.2026 | tail -n1)
name=$(basename "$report") base=$(basename "$report" .xml)
[[ -f "$report" ]] || fail "no report"

# Only a report waiting in the program folder is signed.
orphan=TRDAT01_5912345000_0099_26.xml
cp "$report" "$home/$orphan"
before=$(database)
for file in ZTFI.sqlite ZTFI.ini "$orphan"; do
  run sign "$file" secret
  expect 1 "sign $file"
  said "Datoteka $file ni med poročili, ki čakajo na pošiljanje!" "sign $file"
  [[ -f "$home/$file" ]] || fail "sign $file moved it"
done
rm "$home/$orphan"
[[ $(database) == "$before" && -z $(serverFiles) ]] || fail "a refused signing touched something"

# An empty pass phrase; a wrong one, with an old signature of the name on the server.
run sign "$name" ""
expect 1 "empty pass phrase"
said "Manjka Geslo!" "empty pass phrase"
echo old >"$sigServer/$base.sig"
run sign "$name" wrong
expect 1 "wrong pass phrase"
said "Napaka pri podpisovanju poročila!" "wrong pass phrase"
said "Napačno geslo!" "wrong pass phrase"
[[ ! -s "$work/out" ]] || fail "wrong pass phrase printed $(cat "$work/out")"
rm "$sigServer/$base.sig"

# A missing server folder, and a full one (the report's copy gets no space on the disk).
sed "s#^XMLPath_Server=.*#XMLPath_Server=$work/nowhere#" "$work/good.ini" >"$home/ZTFI.ini"
run sign "$name" secret
expect 1 "missing server folder"
said "Napaka pri kopiranju $name file-a na $work/nowhere/$name !" "missing server folder"
cp "$work/good.ini" "$home/ZTFI.ini"
if [[ $(id -u) == 0 ]] && mount -t tmpfs -o size=64k tmpfs "$xmlServer"; then
  head -c 65536 /dev/zero >"$xmlServer/.filler" 2>/dev/null || true
  run sign "$name" secret
  expect 1 "full server folder"
  said "Napaka pri kopiranju $name file-a na $xmlServer/$name !" "full server folder"
  said "No space left on device" "full server folder"
  rm "$xmlServer/.filler"
  [[ -f "$report" && $(sent "$name") == 0 && -z $(serverFiles) ]] || fail "a failed delivery left a trace"
  umount "$xmlServer"
fi

# A FIFO under the report's name in the server folder is refused at once, not waited for.
mkfifo "$xmlServer/$name"
run timeout 20 "${cli[@]}" sign "$name" "$firm" <<<secret
expect 1 "a FIFO under the report's name"
said "$xmlServer/$name ni navadna datoteka" "a FIFO under the report's name"
[[ -p "$xmlServer/$name" && -f "$report" && $(sent "$name") == 0 ]] || fail "the FIFO was not left alone"
rm "$xmlServer/$name"

# A server folder that hangs (held for 6 s when the report's name is looked up there): another
# desk imports meanwhile, as soon as the lookup hangs (strace has logged its start), and the
# signing gives up after the seconds of CakanjeStreznik, the report local and unrecorded.
sed -i "s#^\[Splošno\]#&\nCakanjeStreznik=4#" "$home/ZTFI.ini"
set +e
strace -f -o "$work/hang.log" -P "$xmlServer/$name" -e trace=lstat,newfstatat,statx \
    -e inject=lstat,newfstatat,statx:delay_enter=6000000 "${cli[@]}" sign "$name" "$firm" <<<secret \
    >"$work/out" 2>"$work/err" &
signing=$!
for _ in $(seq 200); do
  grep -qF "$xmlServer/$name" "$work/hang.log" 2>/dev/null && break
  sleep 0.05
done
grep -qF "$xmlServer/$name" "$work/hang.log" || fail "the signing did not look its report up on the server"
"${cli[@]}" import $day "$work/day.xls" 2>"$work/import-err"
wait $signing; rc=$?
set -e
grep -q "locked" "$work/import-err" && fail "the import waited for the signing: $(cat "$work/import-err")"
(( $("${cli[@]}" imports $day | tail -n +2 | wc -l) > 0 )) || fail "nothing imported: $(cat "$work/import-err")"
"${cli[@]}" delete-imports $day 2>/dev/null
expect 1 "a hanging server folder"
said "Napaka pri kopiranju $name file-a na $xmlServer/$name !" "a hanging server folder"
said "strežniška mapa se ni odzvala v 4 s" "a hanging server folder"
[[ -f "$report" && $(sent "$name") == 0 && ! -e "$xmlServer/$name" ]] || fail "a hanging delivery left a trace"
cp "$work/good.ini" "$home/ZTFI.ini"

# A delivery that fails over an earlier copy on the server leaves the earlier copy there.
echo earlier >"$xmlServer/$name"
mkdir "$sigServer/$base.sig"
run sign "$name" secret
expect 1 "a failed delivery over an earlier copy"
said "Napaka pri kopiranju $home/$base.sig file-a na $sigServer/$base.sig !" "a failed delivery over an earlier copy"
[[ $(cat "$xmlServer/$name") == earlier && -f "$report" && $(sent "$name") == 0 ]] || fail "the earlier copy was lost"
rmdir "$sigServer/$base.sig"
rm "$xmlServer/$name"

# Killed between the two copies: the retry delivers the report whole.
run strace -f -o /dev/null -P "$sigServer/$base.sig" -e trace=lstat,newfstatat,statx \
    -e inject=lstat,newfstatat,statx:signal=KILL "${cli[@]}" sign "$name" "$firm" <<<secret
expect 137 "signing killed before the signature takes its name"
[[ -f "$report" && -f "$xmlServer/$name" && $(sent "$name") == 0 ]] \
  || fail "the kill did not come between the copies, or the report was lost or recorded"
run sign "$name" secret
expect 0 "retry after the kill"
[[ $(tail -n1 "$work/out") == "$sigServer/$base.sig" ]] || fail "retry printed $(cat "$work/out")"
opens "$sigServer/$base.sig" "$xmlServer/$name"
[[ $(sent "$name") == 1 && ! -e "$report" && ! -e "$home/$base.sig" ]] || fail "retry left the delivery half done"
[[ $(serverFiles | sort | tr '\n' ' ') == "$base.sig $name " ]] || fail "server folders hold $(serverFiles)"

# Two signings of one report at once: one delivers, the other is refused.
id=$(sqlite3 "$db" "SELECT DPATVPID FROM DPATVP WHERE XML_FILE='$name'")
serial=$(sqlite3 "$db" "SELECT ZAPST FROM DPATVP WHERE XML_FILE='$name'")
"${cli[@]}" reject "$id" "$serial"
report2=$("${cli[@]}" regenerate "$id" "$serial" | tail -n1)
name2=$(basename "$report2") base2=$(basename "$report2" .xml)
for i in 1 2; do
  (set +e; sign "$name2" secret >"$work/out$i" 2>"$work/err$i"; echo $? >"$work/rc$i") &
done
wait
[[ $(sort "$work/rc1" "$work/rc2" | tr '\n' ' ') == "0 1 " ]] || fail "two signings: exits $(cat "$work/rc1" "$work/rc2")"
grep -qE "se že podpisuje!|ni med poročili, ki čakajo na pošiljanje!" "$work/err1" "$work/err2" \
  || fail "the second signing gave no reason: $(cat "$work/err1" "$work/err2")"
opens "$sigServer/$base2.sig" "$xmlServer/$name2"
[[ $(sent "$name2") == 1 ]] || fail "two signings: not recorded once"
echo "ztfi-cli under faults: passed"
