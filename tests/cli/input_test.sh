#!/usr/bin/env bash
# Bad input refused where it enters the command line: numbers out of range,
# files that are not regular files, saves of CSV rows all or nothing, values
# that do not fit the submission file, quoted input cut short.
set -u
source "$(dirname "$0")/check_lib.sh"
# Runs kdm with a time limit, so a command that blocks fails instead of hanging.
run() { timeout 10 "$KDM" "$@"; }

export KDM_TODAY=2005-06-15
d="$work/data"
run --data "$d" init >/dev/null
run --data "$d" params set JMBG=1234567890125 >/dev/null
obligors='REDBROJ,NAZIV,ADRESA,KONTAKT,VRSTOBVEZNIKA,MB01,MB02,JMBG'
{ echo "$obligors"
  echo '1,Poduzeće d.o.o.,Ilica 1,Ana,01,12345679,0000,0000000000000'
  echo '2,Obrt Šimić,Split,Ivo,02,00000000,0000,1234567890125'
  echo '3,Ured,Zadar,Eva,31,12345679,0000,0000000000000'; } >"$work/ob.csv"
run --data "$d" obligor save "$work/ob.csv" >/dev/null 2>&1
check "obligors stored" 3 "$(run --data "$d" table export TBPOSLOD | tail -n +2 | wc -l | tr -d ' ')"
rows='REDBROJ,JMBG,PREZIME,OPCINA,VRSTAUPLA,CLANDN,OSNOVA1,GODOBRA,MJEOBRA,ODDANA,DODANA,IZNOS7,IZNOS8,IZNOS11'
printf '%s\n1,0101980000002,Anić Ana,1333,01,D,11,2005,5,1,31,1500.00,1000.00,1000.00\n' "$rows" >"$work/emp.csv"
run --data "$d" employee save "$work/emp.csv" >/dev/null 2>&1
forms() { run --data "$d" forms | wc -l | tr -d ' '; }

# Every numeric option in its range: a usage error, nothing formed or deleted.
while IFS='|' read -r what args; do
  # shellcheck disable=SC2086
  run --data "$d" $args >/dev/null 2>"$work/err"
  check "$what: usage error" 2 $?
  check "$what: says why" 1 "$(grep -c "not in range" "$work/err")"
done <<'CASES'
obligor delete 65537|obligor delete 65537
obligor delete 0|obligor delete 0
form --obligor 65537|form --type 01 --year 2005 --month 05 --obligor 65537
form --obligor 1000|form --type 01 --year 2005 --month 05 --obligor 1000
form --seq 65537|form --obligor 1 --type 01 --year 2005 --month 05 --seq 65537
form --seq 0|form --obligor 1 --type 01 --year 2005 --month 05 --seq 0
form --from 65537|form --obligor 1 --type 01 --year 2005 --month 05 --from 65537
form --to 32|form --obligor 1 --type 01 --year 2005 --month 05 --to 32
form --pay-month 65548|form --obligor 1 --type 01 --year 2005 --month 05 --pay-month 65548
form --pay-month 13|form --obligor 1 --type 01 --year 2005 --month 05 --pay-month 13
form --pay-year 99999|form --obligor 1 --type 01 --year 2005 --month 05 --pay-year 99999
payroll form --obligor 65537|payroll form x.txt --type 01 --obligor 65537
payroll check --from 0|payroll check x.txt --obligor 1 --type 01 --from 0
CASES
check "obligor 1 not deleted" 3 "$(run --data "$d" table export TBPOSLOD | tail -n +2 | wc -l | tr -d ' ')"
check "nothing formed" 0 "$(forms)"

# The identifier's room for the sequence: two digits for types 30 and 31
# and natural persons, three for everyone else.
while IFS='|' read -r what obligor seq message; do
  run --data "$d" form --obligor "$obligor" --type 01 --year 2005 --month 05 --seq "$seq" >/dev/null 2>"$work/err"
  check "$what: refused" 1 $?
  check "$what: message" "$message" "$(cat "$work/err")"
done <<'CASES'
type 31 with 100|3|100|Za VOB=31 red. broj unutar identifikatora mora biti <100
natural person with 100|2|100|Za fizičku osobu red. broj unutar identifikatora mora biti <100
CASES
check "no form of a sequence that does not fit" 0 "$(forms)"

# An obligor number is 1 to 999 wherever it enters.
printf 'REDBROJ,NAZIV\n-5,Minus\n' >"$work/minus.csv"
run --data "$d" table import TBPOSLOD "$work/minus.csv" >/dev/null 2>"$work/err"
check "table import of obligor -5" "line 2: Redni broj obveznika must be between 1 and 999|Nothing was stored." "$(paste -sd'|' "$work/err")"
{ echo "$obligors"; echo '-5,Minus,Ilica 1,Ana,01,12345679,0000,0000000000000'; } >"$work/minus.csv"
run --data "$d" obligor save "$work/minus.csv" >/dev/null 2>"$work/err"
check "obligor save of -5" "line 2: Redni broj obveznika mora biti od 1 do 999|Nothing was stored." "$(paste -sd'|' "$work/err")"
check "no obligor -5" 0 "$(run --data "$d" table export TBPOSLOD | grep -c '^-5,')"

# Obligor and employee saves are all or nothing: a malformed last line
# stores nothing, and the mended file stores each row once.
{ echo "$obligors"
  for n in $(seq 10 59); do echo "$n,Firma $n,Ulica $n,Ana,01,12345679,0000,0000000000000"; done
  echo '60,"Firma 60'; } >"$work/many.csv"
run --data "$d" obligor save "$work/many.csv" >"$work/out" 2>"$work/err"
check "obligor save of a malformed file" 1 $?
check "obligor save stored nothing" 3 "$(run --data "$d" table export TBPOSLOD | tail -n +2 | wc -l | tr -d ' ')"
check "obligor save says so" "Nothing was stored." "$(tail -1 "$work/err")"
sed -i '$d' "$work/many.csv"
run --data "$d" obligor save "$work/many.csv" >"$work/out" 2>&1
check "mended obligor file" "50 obligors stored" "$(cat "$work/out")"
run --data "$d" obligor save "$work/many.csv" >"$work/out" 2>&1
check "saved again: changes, no doubles" "53" "$(run --data "$d" table export TBPOSLOD | tail -n +2 | wc -l | tr -d ' ')"

# Employee rows: a row without a municipality keeps none; the rates are
# taken also when both contributions are given; a non-member with a
# pillar-II amount is refused as the window refuses it; an amount the
# submission file cannot hold is refused; a refusal stores nothing.
printf 'REDBROJ,JMBG,PREZIME,VRSTAUPLA,CLANDN,OSNOVA1,GODOBRA,MJEOBRA,ODDANA,DODANA,IZNOS7,IZNOS8,IZNOS9,IZNOS10,IZNOS11\n1,0101980000010,Babić Ivo,01,D,11,2005,5,1,31,1000.00,1000.00,150.00,50.00,700.00\n' >"$work/emp2.csv"
run --data "$d" employee save "$work/emp2.csv" >"$work/out" 2>&1
check "employee row given both contributions" "1 employee rows stored" "$(cat "$work/out")"
row=$(run --data "$d" table export TBZAPOSL | grep 'Babić' | tr -d '\r')
check "no municipality put in" "" "$(echo "$row" | cut -d, -f4)"
check "rates from the rate table" "15.00,0.00,5.00,0.00" "$(echo "$row" | cut -d, -f21-24)"
while IFS='|' read -r what cells message; do
  printf '%s\n%s\n' "$rows,IZNOS10" "$cells" >"$work/bad.csv"
  run --data "$d" employee save "$work/bad.csv" >/dev/null 2>"$work/err"
  check "$what: refused" "$message|Nothing was stored." "$(paste -sd'|' "$work/err")"
done <<'CASES'
non-member with pillar II|1,0101980000029,Cvitić Iva,1333,01,N,11,2005,5,1,31,1000.00,1000.00,700.00,50.00|line 2: Greška. Osiguranik nije član OMF. Nema doprinosa za II. stup
base of 13 digits|1,0101980000029,Cvitić Iva,1333,01,D,11,2005,5,1,31,1000.00,1234567890123.00,700.00,|line 2: Greška - Osnovica za doprinose mora biti između -999999999999.99 i 999999999999.99
CASES
printf 'REDBROJ,JMBG,IZNOS8\n1,0101980000029,1234567890123.00\n' >"$work/big.csv"
run --data "$d" table import TBZAPOSL "$work/big.csv" >/dev/null 2>"$work/err"
check "table import of a base of 13 digits" "line 2: Iznos IV.8 must be between -999999999999.99 and 999999999999.99" "$(head -1 "$work/err")"
check "two employee rows in all" 2 "$(run --data "$d" table export TBZAPOSL | tail -n +2 | wc -l | tr -d ' ')"

# Files that are not regular files are refused at once, never read.
mkfifo "$work/fifo"
while IFS='|' read -r what args; do
  for f in "$work/fifo" /dev/zero; do
    # A copy replaces its destination: never risk a device on it.
    [[ $args == *copy-to* && $f == /dev/* ]] && continue
    # shellcheck disable=SC2086
    run --data "$d" ${args//FILE/$f} >/dev/null 2>"$work/err"
    check "$what $f: refused" 1 $?
    check "$what $f: message" 1 "$(grep -c "not a regular file" "$work/err")"
  done
done <<'CASES'
obligor save|obligor save FILE
employee save|employee save FILE
table import|table import TBOPCINE FILE
hash|hash FILE
check|check FILE
payroll check|payroll check FILE --obligor 1 --type 01
payroll form|payroll form FILE --obligor 1 --type 01
form --copy-to|form --obligor 1 --type 01 --year 2005 --month 05 --copy-to FILE
CASES
check "the FIFO is still there" fifo "$(stat -c %F "$work/fifo")"
check "nothing formed for a FIFO medium" 0 "$(forms)"

# A value quoted back is cut to 80 characters.
{ head -c 1048576 /dev/zero | tr '\0' 'x'; echo; echo '1'; } >"$work/wide.csv"
run --data "$d" table import TBOPCINE "$work/wide.csv" >/dev/null 2>"$work/err"
check "wide header refused" 1 $?
check "wide header quoted short" "line 1: TBOPCINE has no field \"$(printf 'x%.0s' $(seq 80))...\"" "$(head -1 "$work/err")"
run --data "$d" form --obligor 1 --type 01 --year "$(printf '9%.0s' $(seq 100))" >/dev/null 2>"$work/err"
check "wide option quoted short" "$(printf '9%.0s' $(seq 80))..." "$(head -1 "$work/err" | cut -d'"' -f2)"

# Files that are no submission files at all are never clean.
printf 'hello world' >"$work/hello.txt"
head -c 204800 /dev/zero >"$work/zeros.bin"
head -c 3000 /dev/urandom | tr -d '\n' >"$work/random.bin"
for f in hello.txt zeros.bin random.bin; do
  run --data "$d" check "$work/$f" >"$work/out" 2>&1
  check "check $f: done" 0 $?
  records=$(tail -1 "$work/out" | sed 's/^records \([0-9]*\),.*/\1/')
  check "check $f: one error a record" "records $records, findings $records errors, 0 warnings" "$(tail -1 "$work/out")"
done
check "check hello: its finding" "1 TIPSLOGA F Nepoznat tip sloga" "$(run --data "$d" check "$work/hello.txt" | grep TIPSLOGA | tr -s ' ' | sed 's/^ //; s/ $//')"
unset KDM_TODAY

finish
