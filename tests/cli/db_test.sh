#!/usr/bin/env bash
# The data directory's store: only kdm stores are opened, kdm db check finds
# what is broken, and the sqlite3 shell can check the store with our
# collation loaded.
set -u
source "$(dirname "$0")/check_lib.sh"
COLLATION=${KDM_COLLATION:?path of the collation module}

# Not ours: refused by every command and by init, and left as it was.
mkdir "$work/empty"
: >"$work/empty/kdm.db"
"$KDM" --data "$work/empty" params show >"$work/out" 2>"$work/err"
check "empty file refused" 1 $?
check "empty file message" "Not a kdm data store: $work/empty/kdm.db is an empty file (kdm init creates the store)" "$(cat "$work/err")"
check "empty file stays empty" 0 "$(stat -c %s "$work/empty/kdm.db")"
check "empty file: no parameters shown" "" "$(cat "$work/out")"
mkdir "$work/foreign"
sqlite3 "$work/foreign/kdm.db" "CREATE TABLE notes (t TEXT); INSERT INTO notes VALUES ('mine');"
before=$(md5sum <"$work/foreign/kdm.db")
"$KDM" --data "$work/foreign" init >/dev/null 2>"$work/err"
check "init refuses a foreign database" 1 $?
check "foreign database message" "Not a kdm data store: $work/foreign/kdm.db is a database of another program; it was left unchanged" "$(cat "$work/err")"
check "foreign database unchanged" "$before" "$(md5sum <"$work/foreign/kdm.db")"

# A month: two obligors formed into the collective list, then collected.
export KDM_TODAY=2005-06-15
m="$work/month"
"$KDM" --data "$m" init >/dev/null
"$KDM" --data "$m" params set JMBG=1234567890125 IZLAZDIR=izlaz/ >/dev/null
mkdir -p "$m/izlaz"
printf 'REDBROJ,NAZIV,ADRESA,KONTAKT,VRSTOBVEZNIKA,MB01,MB02,JMBG\n1,Poduzeće d.o.o.,Ilica 1,Ana,01,12345679,0000,0000000000000\n2,Obrt Šimić,Split,Ivo,02,00000000,0000,1234567890125\n' >"$work/ob.csv"
"$KDM" --data "$m" obligor save "$work/ob.csv" >/dev/null
printf 'REDBROJ,JMBG,PREZIME,OPCINA,VRSTAUPLA,CLANDN,OSNOVA1,GODOBRA,MJEOBRA,ODDANA,DODANA,IZNOS7,IZNOS8,IZNOS11\n1,0101980000002,Anić Ana,1333,01,D,11,2005,5,1,31,1500.00,1000.00,1000.00\n2,0101980000010,Babić Ivo,1333,01,N,12,2005,5,1,31,800.00,800.00,600.00\n' >"$work/emp.csv"
"$KDM" --data "$m" employee save "$work/emp.csv" >/dev/null
"$KDM" --data "$m" form --obligor 1 --type 01 --year 2005 --month 05 --sent 14.06.2005 --mode new >/dev/null
"$KDM" --data "$m" form --obligor 2 --type 01 --year 2005 --month 05 --sent 14.06.2005 --mode add >/dev/null
"$KDM" --data "$m" db check >"$work/out" 2>"$work/err"
check "db check of own copies exit" 0 $?
check "db check of own copies" "ok: $m/kdm.db (2 forms, 2 page-B rows, 2 listed forms)" "$(cat "$work/out")"
"$KDM" --data "$m" collect --sent 14.06.2005 >/dev/null
"$KDM" --data "$m" db check >"$work/out" 2>"$work/err"
check "db check after collect exit" 0 $?
check "db check after collect quiet" "" "$(cat "$work/err")"

# One fault at a time, each mended before the next.
mv "$m/izlaz/F0025001.TXT" "$work/F0025001.TXT"
"$KDM" --data "$m" db check >"$work/out" 2>"$work/err"
check "missing listed file exit" 1 $?
check "missing listed file" "Listed form 002501 01 (TBTMPDAT): its delivered file $m/izlaz/F0025001.TXT is missing" "$(cat "$work/out")"
check "missing listed file count" "1 finding in $m/kdm.db (2 forms, 2 page-B rows, 2 listed forms)" "$(cat "$work/err")"
mv "$work/F0025001.TXT" "$m/izlaz/F0025001.TXT"

cp "$m/izlaz/VALTA.RM0" "$work/VALTA.RM0"
printf 'x' >>"$m/izlaz/VALTA.RM0"
konznak=$("$KDM" hash "$work/VALTA.RM0")
"$KDM" --data "$m" db check >"$work/out" 2>/dev/null
check "changed collective file exit" 1 $?
check "changed collective file" "Form 001500101: control number $konznak matches no delivered file ($m/izlaz/F0015001.TXT: differs, $m/izlaz/VALTA.RM0: differs)" "$(head -1 "$work/out")"
check "changed collective file, both forms" 2 "$(wc -l <"$work/out" | tr -d ' ')"
cp "$work/VALTA.RM0" "$m/izlaz/VALTA.RM0"

printf 'KONVEZA,JMBG,GODOBRA\n009500101,0101980000002,2005\n' >"$work/orphan.csv"
"$KDM" --data "$m" table import TBOSIGUR "$work/orphan.csv" >/dev/null
printf 'IDENTIFIKATOR,VRSUPLA,OBRGOD,OBRMJE,KONVEZA,KONZNAK\n0035001,01,2005,05,003500101,1234567890-1234567890-1234567890-1234567890\n' >"$work/never.csv"
"$KDM" --data "$m" table import TBOBRAZA "$work/never.csv" >/dev/null
"$KDM" --data "$m" db check >"$work/out" 2>/dev/null
check "orphan and undelivered exit" 1 $?
check "orphan and undelivered" "Form 009500101: 1 page-B row (TBOSIGUR) without its page A (TBOBRAZA)|Form 003500101 was never delivered: it has no control number" "$(paste -sd'|' "$work/out")"

# The standard sqlite3 shell checks kdm.db once the collation is loaded, and
# orders as kdm does.
sqlite3 "$m/kdm.db" 'pragma integrity_check' >/dev/null 2>&1
check "shell without the collation" 1 $?
check "shell integrity check" "ok" "$(sqlite3 "$m/kdm.db" ".load $COLLATION" 'pragma integrity_check' 2>&1)"
check "shell orders as kdm" "$("$KDM" --data "$m" table export TBOPCINE --key KEYNAZIV | tail -n +2 | cut -d, -f1 | md5sum)" \
  "$(sqlite3 "$m/kdm.db" ".load $COLLATION" 'SELECT REDBROJ FROM TBOPCINE ORDER BY NAZIV, rowid' | md5sum)"
unset KDM_TODAY

# A damaged store: a few hundred page-B rows, then the root pages of their
# table and its indexes overwritten. Nothing may count it as empty or call
# it sound.
d="$work/damaged"
"$KDM" --data "$d" init >/dev/null
{ echo 'KONVEZA,JMBG,PREZIME,GODOBRA'
  for i in $(seq 1 400); do printf '0015001%02d,01019800%05d,Prezime Ime %d,2005\n' $((i % 9)) "$i" "$i"; done; } >"$work/rows.csv"
"$KDM" --data "$d" table import TBOSIGUR "$work/rows.csv" >/dev/null
page=$(sqlite3 "$d/kdm.db" 'PRAGMA page_size')
for root in $(sqlite3 "$d/kdm.db" "SELECT rootpage FROM sqlite_master WHERE tbl_name='TBOSIGUR'"); do
  head -c "$page" /dev/zero | tr '\0' 'x' | dd of="$d/kdm.db" bs="$page" seek=$((root - 1)) conv=notrunc status=none
done
"$KDM" --data "$d" table list >"$work/out" 2>"$work/err"
check "damaged store: table list exit" 1 $?
check "damaged store: table list message" "The data file is damaged or not a database ($d/kdm.db)" "$(cat "$work/err")"
check "damaged store: no count of 0" "TBOSIGUR   TBOSIGUR.DAT   keyed  ?" "$(grep '^TBOSIGUR ' "$work/out")"
"$KDM" --data "$d" db check >"$work/out" 2>"$work/err"
check "damaged store: db check exit" 1 $?
check "damaged store: integrity finding" "SQLite integrity check" "$(head -1 "$work/out" | cut -c1-22)"

finish
