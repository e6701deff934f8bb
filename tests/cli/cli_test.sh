#!/usr/bin/env bash
# The command line as a user runs it on a fresh data directory.
set -u
source "$(dirname "$0")/check_lib.sh"

data="$work/data"
"$KDM" --data "$data" init >"$work/out" 2>"$work/err"
check "init exit" 0 $?
check "init says created" "Created $data/kdm.db" "$(head -1 "$work/out")"
"$KDM" --data "$data" init >"$work/out2" 2>&1
check "init twice exit" 0 $?
check "init twice changes nothing" "Every delivered table already holds records; nothing changed." "$(tail -1 "$work/out2")"

"$KDM" --data "$data" table list >"$work/list"
check "list exit" 0 $?
check "list municipalities" "TBOPCINE   TBOPCINE.DAT   keyed  556" "$(grep '^TBOPCINE ' "$work/list")"
check "list view" "RAD2       TBOSIGUR.DAT   view   0 (view of TBOSIGUR)" "$(grep '^RAD2 ' "$work/list")"
check "list supplied file" "ZAP2004    ZAP2004.DAT    keyed  -" "$(grep '^ZAP2004 ' "$work/list")"

check "export by key" "REDBROJ,GRAD,NAZIV,SIFRA,POREZ,PRIREZ" "$("$KDM" --data "$data" table export TBOPCINE --key KEYNAZIV | head -1 | tr -d '\r')"
check "export first by name" "ANDRIJAŠEVCI,0019" "$("$KDM" --data "$data" table export TBOPCINE --key OPC:KEYNAZIV | sed -n 2p | cut -d, -f3,4)"
check "export parameters" "1,00000000,0000,1111111111111" "$("$KDM" --data "$data" table export APLPARAM | sed -n 2p | cut -d, -f1-4)"

printf 'NAZIV,REDBROJ,VRSTOBVEZNIKA\nObrt Šimić,1,02\nPoduzeće d.o.o.,2,01\n' >"$work/pos.csv"
"$KDM" --data "$data" table import TBPOSLOD "$work/pos.csv" >"$work/out" 2>&1
check "import exit" 0 $?
check "import message" "2 records stored in TBPOSLOD" "$(cat "$work/out")"
check "export by name ignores case" "Obrt Šimić" "$("$KDM" --data "$data" table export TBPOSLOD --key KEYNAZIV | sed -n 2p | cut -d, -f5)"

printf 'NAZIV,REDBROJ\nDrugi,3\nTreći,1\n' >"$work/dup.csv"
"$KDM" --data "$data" table import TBPOSLOD "$work/dup.csv" >"$work/out" 2>"$work/err"
check "duplicate exit" 1 $?
check "duplicate message" "line 3: Creating a record with a duplicate key: Redni broj fime" "$(head -1 "$work/err")"
check "nothing stored" "3" "$("$KDM" --data "$data" table export TBPOSLOD | wc -l | tr -d ' ')"

# The demonstration set: forms and checks at once, added only once.
d="$work/demo"
KDM_TODAY=2005-06-15 "$KDM" --data "$d" init --demo >"$work/out" 2>"$work/err"
check "demo exit" 0 $?
check "demo says what it added" "Demonstration set: the authorised person, 3 obligors, 30 employee rows" "$(tail -1 "$work/out")"
check "demo employee rows" "TBZAPOSL   TBZAPOSL.DAT   keyed  30" "$("$KDM" --data "$d" table list | grep '^TBZAPOSL ')"
KDM_TODAY=2005-06-15 "$KDM" --data "$d" form --obligor 2 --type 01 --year 2005 --month 6 >"$work/out" 2>"$work/err"
check "demo forms a form" 0 $?
KDM_TODAY=2005-06-15 "$KDM" --data "$d" check "$d/F0025001.TXT" >"$work/out" 2>"$work/err"
check "demo form passes the formal check" "records 13, findings 0 errors, 0 warnings" "$(tail -1 "$work/out")"
"$KDM" --data "$d" init --demo >"$work/out" 2>"$work/err"
check "demo twice exit" 1 $?
check "demo twice message" "The data directory already holds obligors; the demonstration set was not added." "$(cat "$work/err")"
check "demo twice adds nothing" "TBPOSLOD   TBPOSLOD.DAT   keyed  3" "$("$KDM" --data "$d" table list | grep '^TBPOSLOD ')"

printf 'abc' >"$work/abc"
check "hash" "A9993E3647-06816ABA3E-25717850C2-6C9CD0D89D" "$("$KDM" hash "$work/abc")"
"$KDM" hash "$work/none" >/dev/null 2>"$work/err"
check "hash of a missing file" 1 $?

"$KDM" --data "$data" table export NOSUCH >/dev/null 2>"$work/err"
check "unknown label exit" 1 $?
check "unknown label message" "Unknown file label: \"NOSUCH\" (kdm table list shows them)" "$(cat "$work/err")"
"$KDM" --data "$data" table export TBOPCINE --key KEYX >/dev/null 2>"$work/err"
check "unknown key exit" 1 $?
"$KDM" --data "$work/nowhere" table list >/dev/null 2>"$work/err"
check "missing directory exit" 1 $?
check "missing directory message" "Data directory not found: $work/nowhere" "$(cat "$work/err")"
mkdir "$work/bad" && printf 'not a database at all, just some text in a file' >"$work/bad/kdm.db"
"$KDM" --data "$work/bad" table list >/dev/null 2>"$work/err"
check "corrupt database exit" 1 $?
head -c 3000 /dev/urandom >"$work/binary.csv"
"$KDM" --data "$data" table import TBOPCINE "$work/binary.csv" >/dev/null 2>&1
check "binary csv exit" 1 $?
"$KDM" --data "$data" frobnicate >/dev/null 2>&1
check "usage error exit" 2 $?
KDM_TODAY=2005-13-01 "$KDM" --data "$data" table list >/dev/null 2>&1
check "bad KDM_TODAY exit" 2 $?


# A month of one bookkeeping service: parameters, obligors, employee rows,
# forms, the collective file and its copy.
export KDM_TODAY=2005-06-15
m="$work/month"
"$KDM" --data "$m" init >/dev/null
printf 'REDBROJ,NAZIV,ADRESA,KONTAKT,VRSTOBVEZNIKA,MB01,MB02,JMBG\n1,Poduzeće d.o.o.,Ilica 1,Ana,01,12345679,0000,0000000000000\n2,Obrt Šimić,Split,Ivo,02,00000000,0000,1234567890125\n' >"$work/ob.csv"
"$KDM" --data "$m" form --obligor 1 --type 01 --year 2005 --month 05 >/dev/null 2>"$work/err"
check "form refused with the placeholder" "Obavezno ispravite podatke o ovlaštenoj osobi. | Izmjenu izvršite kroz Servisi/Aplikacijski parametri" "$(cat "$work/err")"
"$KDM" --data "$m" params set MB01=12345679 >/dev/null 2>"$work/err"
check "params both numbers refused" "Greška. Nije dozvoljeno upisati MB i JMBG" "$(cat "$work/err")"
"$KDM" --data "$m" params set JMBG=1234567890125 IZLAZDIR=izlaz/ >/dev/null 2>&1
check "params stored" 0 $?
mkdir -p "$m/izlaz"
check "params show" "JMBG=1234567890125" "$("$KDM" --data "$m" params show | grep '^JMBG=')"
"$KDM" --data "$m" obligor save "$work/ob.csv" >"$work/out" 2>&1
check "obligors saved" "2 obligors stored" "$(cat "$work/out")"
printf 'REDBROJ,JMBG,PREZIME,OPCINA,VRSTAUPLA,CLANDN,OSNOVA1,GODOBRA,MJEOBRA,ODDANA,DODANA,IZNOS7,IZNOS8,IZNOS11\n1,0101980000002,Anić Ana,1333,01,D,11,2005,5,1,31,1500.00,333.33,1000.00\n1,0101980000010,Babić Ivo,1333,01,N,11,2005,5,1,31,1500.00,1000.00,1000.00\n1,010198000001,Kratki,1333,01,D,11,2005,5,1,31,1500.00,1000.00,1000.00\n2,0101980000002,Anić Ana,1333,01,D,12,2005,5,1,31,800.00,800.00,600.00\n' >"$work/emp.csv"
"$KDM" --data "$m" employee save "$work/emp.csv" >"$work/out" 2>"$work/err"
check "employee rows: one refused" 1 $?
check "employee refusal names its line" "line 4: JMBG je obavezan podatak.|Nothing was stored." "$(paste -sd'|' "$work/err")"
check "employee rows: none stored" 1 "$("$KDM" --data "$m" table export TBZAPOSL | wc -l | tr -d ' ')"
sed -i 4d "$work/emp.csv"
"$KDM" --data "$m" employee save "$work/emp.csv" >"$work/out" 2>"$work/err"
check "employee rows: the mended file" "3 employee rows stored" "$(cat "$work/out")"
check "contribution calculated" "16.67" "$("$KDM" --data "$m" table export TBZAPOSL | grep Anić | head -1 | cut -d, -f19)"
"$KDM" --data "$m" form --obligor 1 --type 01 --year 2005 --month 05 --sent 14.06.2005 --mode new >"$work/out" 2>"$work/err"
check "form exit" 0 $?
check "form status" "OBVEZNIK JE USPJEŠNO OBRAĐEN-$m/izlaz/F0015001.TXT" "$(tail -1 "$work/out")"
"$KDM" --data "$m" form --obligor 2 --type 01 --year 2005 --month 05 --sent 14.06.2005 --mode add --copy-to "$work/medium.RM0" >/dev/null 2>&1
check "second form exit" 0 $?
check "copy on the medium" "$("$KDM" hash "$m/izlaz/F0025001.TXT")" "$("$KDM" hash "$work/medium.RM0")"
check "forms listed" 2 "$("$KDM" --data "$m" forms | wc -l | tr -d ' ')"
check "form control number is the file's" "$("$KDM" hash "$m/izlaz/F0015001.TXT")" "$("$KDM" --data "$m" forms | grep '^001500101' | awk '{print $NF}')"
"$KDM" --data "$m" collect --sent 14.06.2005 --copy-to "$work/medium.RM0" >"$work/out" 2>"$work/err"
check "collect exit" 0 $?
check "collective control number on every form" "$("$KDM" hash "$m/izlaz/VALTA.RM0")" "$("$KDM" --data "$m" forms | awk '{print $NF}' | sort -u)"
check "collective file on the medium" "$("$KDM" hash "$m/izlaz/VALTA.RM0")" "$("$KDM" hash "$work/medium.RM0")"
check "collective trailer counts two forms" "000002" "$(tail -1 "$m/izlaz/VALTA.RM0" | cut -c34-39)"
"$KDM" --data "$m" form --obligor 1 --type 01 --year 2005 --month 13 >/dev/null 2>"$work/err"
check "bad month refused" "Pogrešna oznaka mjeseca" "$(cat "$work/err")"
"$KDM" --data "$m" obligor delete 2 >/dev/null 2>&1
check "obligor deleted" 0 $?
check "its rows stay" 1 "$("$KDM" --data "$m" table export TBZAPOSL | grep -c '^2,')"
unset KDM_TODAY

# The payroll import: a file of two good lines, one of another obligor and
# one with a wrong MBG; checked, refused as a form, then formed without it.
export KDM_TODAY=2005-06-15
p="$work/payroll"
"$KDM" --data "$p" init >/dev/null
"$KDM" --data "$p" params set JMBG=1234567890125 >/dev/null
printf 'REDBROJ,NAZIV,ADRESA,KONTAKT,VRSTOBVEZNIKA,MB01,MB02,JMBG\n1,Poduzeće d.o.o.,Ilica 1,Ana,01,12345679,0000,0000000000000\n' >"$work/pob.csv"
"$KDM" --data "$p" obligor save "$work/pob.csv" >/dev/null
line() {  # line MB JMBG NAME (CP1250 escapes) NAME-LENGTH CLANDN
  printf '00001%-12s%-13s010100012005050131%s%b%*s' "$1" "" "$2" "$3" $((50 - $4)) ''
  printf '1333%s11 000000000150000000000000100000000000000015000000000000005000000000000100000\r\n' "$5"
}
{ line 123456790000 0101980000002 '\x8Aimi\xE6 Ivan' 10 D
  line 123456790000 0101980000010 'Babi\xE6 Ana' 9 D
  line 999999990000 0101980000002 'Drugi' 5 D
  line 123456790000 0101980000003 'Lo\x9A MBG' 7 D; } >"$work/placa.txt"
"$KDM" --data "$p" payroll check "$work/placa.txt" --obligor 1 --type 01 --year 2005 --month 05 >"$work/out" 2>"$work/err"
check "payroll check exit" 0 $?
check "payroll check finding" "   1  0101980000003  MBG osiguranika nije točan po modulu 11" "$(grep '^   1 ' "$work/out")"
check "payroll check read" "Ukupno obrađeno redaka: 4" "$(grep '^Ukupno obrađeno redaka' "$work/out")"
check "payroll check accepted" "Retci koji zadovoljavaju kontrolama: 2" "$(grep '^Retci' "$work/out")"
check "payroll check marked" "Podaci sa upozorenjima: 1" "$(grep '^Podaci' "$work/out")"
check "payroll every line kept" 5 "$("$KDM" --data "$p" table export TBOSIGU3 | wc -l | tr -d ' ')"
check "payroll accepted lines kept" 3 "$("$KDM" --data "$p" table export TBOSIGU2 | wc -l | tr -d ' ')"
check "payroll name decoded" "Šimić Ivan" "$("$KDM" --data "$p" table export TBOSIGU2 | grep 0101980000002 | cut -d, -f3)"
"$KDM" --data "$p" payroll form "$work/placa.txt" --obligor 1 --type 01 --year 2005 --month 05 --seq 1 >"$work/out" 2>"$work/err"
check "payroll form refused exit" 1 $?
check "payroll form refused status" "Obrada je prekinuta, provjerite popis grešaka i upozorenja." "$(grep '^Obrada je prekinuta' "$work/out")"
check "payroll form findings" "   1  0101980000002  Redak nije preuzet.|   2  0101980000003  Pogrešan JMBG" "$(grep '^ *[0-9]*  0101' "$work/out" | head -2 | paste -sd'|')"
check "payroll form no page A" "" "$("$KDM" --data "$p" forms)"
head -3 "$work/placa.txt" >"$work/placa2.txt"
"$KDM" --data "$p" payroll form "$work/placa2.txt" --obligor 1 --type 01 --year 2005 --month 05 --seq 1 --sent 20.06.2005 --copy-to "$work/pmedium.RM0" >"$work/out" 2>"$work/err"
check "payroll form exit" 0 $?
check "payroll form success" "OBVEZNIK JE USPJEŠNO OBRAĐEN" "$(grep '^OBVEZNIK' "$work/out")"
check "payroll form note" "Nakon obrade pregledajte popis grešaka" "$(tail -1 "$work/out")"
check "payroll form control number" "$("$KDM" hash "$p/F0015001.TXT")" "$("$KDM" --data "$p" forms | awk '{print $NF}')"
check "payroll form plus signs" "+00000000150000+00000000100000" "$(sed -n 3p "$p/F0015001.TXT" | cut -c60-89)"
check "payroll form name bytes" "$(printf '\x8Aimi\xE6 Ivan')" "$(sed -n 3p "$p/F0015001.TXT" | cut -c19-28)"
check "payroll medium copy" "$("$KDM" hash "$p/F0015001.TXT")" "$("$KDM" hash "$work/pmedium.RM0")"
"$KDM" --data "$p" payroll check "$work/none.txt" --obligor 1 --type 01 --year 2005 --month 05 >/dev/null 2>"$work/err"
check "payroll missing file exit" 1 $?
check "payroll missing file message" "Greška kod preuzimanja podataka $work/none.txt" "$(cat "$work/err")"
check "payroll findings listed" "RB,TIP" "$("$KDM" --data "$p" table export TBGRESKE | head -1 | cut -d, -f1-2)"
unset KDM_TODAY


# The formal check of a formed file, its findings as text and a record's breakdown.
export KDM_TODAY=2005-06-15
c="$work/check"
"$KDM" --data "$c" init >/dev/null
"$KDM" --data "$c" check "$m/izlaz/F0015001.TXT" >/dev/null 2>"$work/err"
check "check refused with the placeholder" "Ispravite podatke o ovlaštenoj osobi.| Ispravak izvršite kroz Servisi/Aplikacijski parametri" "$(cat "$work/err")"
"$KDM" --data "$c" params set JMBG=1234567890125 >/dev/null
"$KDM" --data "$c" check "$m/izlaz/F0015001.TXT" >"$work/out" 2>"$work/err"
check "check exit" 0 $?
check "check summary" "records 6, findings 0 errors, 0 warnings" "$(tail -1 "$work/out")"
"$KDM" --data "$c" check "$m/izlaz/VALTA.RM0" --txt >"$work/out" 2>"$work/err"
check "check collective exit" 0 $?
check "check collective records" "records 9," "$(tail -1 "$work/out" | cut -d' ' -f1-2)"
check "check show title" "VODEĆI SLOG JEDNOG OBRASCA - tip sloga 3" "$("$KDM" --data "$c" check --show 2 | head -1)"
"$KDM" --data "$c" check --show 99 >/dev/null 2>&1
check "check show missing record" 1 $?
"$KDM" --data "$c" check "$work/nonexistent" >/dev/null 2>"$work/err"
check "check missing file" "Greška kod preuzimanja podataka $work/nonexistent" "$(cat "$work/err")"
printf 'garbage\0\xff\r\nshort\n' >"$work/garbage.txt"
"$KDM" --data "$c" check "$work/garbage.txt" >"$work/out" 2>&1
check "check garbage exit" 0 $?
"$KDM" --data "$c" check >/dev/null 2>&1
check "check without file" 2 $?
unset KDM_TODAY

finish
