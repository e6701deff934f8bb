#!/usr/bin/env bash
# Every run that changes the store and delivers files, stopped at each of
# its steps: killed at once, or failing there as on a full disk. After each
# stop the data directory, as the next command sees it, holds either the
# state before the run or the state after a complete run, and the run done
# again completes normally.
#
#   fault_test.sh form|payroll|collect|check
set -u
KDM=${KDM:?path of the kdm executable}
which=${1:?form, payroll, collect or check}
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
failures=0
passes=0
export KDM_TODAY=2005-06-15

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}

# A data directory with two obligors, their rows, their forms, the
# collective file and a check of it: the state every run starts from.
base="$work/base"
set -e
"$KDM" --data "$base" init >/dev/null
"$KDM" --data "$base" params set JMBG=1234567890125 IZLAZDIR=izlaz/ >/dev/null
mkdir -p "$base/izlaz"
printf 'REDBROJ,NAZIV,ADRESA,KONTAKT,VRSTOBVEZNIKA,MB01,MB02,JMBG\n1,Poduzeće d.o.o.,Ilica 1,Ana,01,12345679,0000,0000000000000\n2,Obrt Šimić,Split,Ivo,02,00000000,0000,1234567890125\n' >"$work/ob.csv"
"$KDM" --data "$base" obligor save "$work/ob.csv" >/dev/null
printf 'REDBROJ,JMBG,PREZIME,OPCINA,VRSTAUPLA,CLANDN,OSNOVA1,GODOBRA,MJEOBRA,ODDANA,DODANA,IZNOS7,IZNOS8,IZNOS11\n1,0101980000002,Anić Ana,1333,01,D,11,2005,5,1,31,1500.00,1000.00,1000.00\n1,0101980000010,Babić Ivo,1333,01,N,11,2005,5,1,31,1500.00,1000.00,1000.00\n2,0101980000002,Anić Ana,1333,01,D,12,2005,5,1,31,800.00,800.00,600.00\n' >"$work/emp.csv"
"$KDM" --data "$base" employee save "$work/emp.csv" >/dev/null
"$KDM" --data "$base" form --obligor 1 --type 01 --year 2005 --month 05 --sent 14.06.2005 --mode new >/dev/null
"$KDM" --data "$base" form --obligor 2 --type 01 --year 2005 --month 05 --sent 14.06.2005 --mode add >/dev/null
"$KDM" --data "$base" collect --sent 14.06.2005 >/dev/null
"$KDM" --data "$base" check "$base/izlaz/F0015001.TXT" --txt >/dev/null 2>&1
# What the runs below change: one more row for obligor 1.
printf 'REDBROJ,JMBG,PREZIME,OPCINA,VRSTAUPLA,CLANDN,OSNOVA1,GODOBRA,MJEOBRA,ODDANA,DODANA,IZNOS7,IZNOS8,IZNOS11\n1,0101980000029,Cvitić Ema,1333,01,N,11,2005,5,1,31,2500.00,2000.00,1800.00\n' >"$work/emp2.csv"
"$KDM" --data "$base" employee save "$work/emp2.csv" >/dev/null
set +e

# A payroll file of obligor 1's three persons (the form 0015001 again).
line() {  # line JMBG NAME NAME-LENGTH
  printf '00001%-12s%-13s010100012005050131%s%s%*s' 123456790000 "" "$1" "$2" $((50 - $3)) ''
  printf '1333D11 000000000150000000000000100000000000000015000000000000005000000000000100000\r\n'
}
{ line 0101980000002 'Ana' 3; line 0101980000010 'Ivo' 3; line 0101980000029 'Ema' 3; } >"$work/placa.txt"

# The run under test, in data directory $1.
run() {
  case "$which" in
    form) "$KDM" --data "$1" form --obligor 1 --type 01 --year 2005 --month 05 --seq 1 --sent 15.06.2005 --mode add ;;
    payroll) "$KDM" --data "$1" payroll form "$work/placa.txt" --obligor 1 --type 01 --year 2005 --month 05 --seq 1 --sent 15.06.2005 --mode add ;;
    collect) "$KDM" --data "$1" collect --sent 15.06.2005 ;;
    check) "$KDM" --data "$1" check "$1/izlaz/VALTA.RM0" --txt ;;
  esac
}

# What a user and the registry see of the data directory $1: the forms
# with their control numbers, the page-B rows, the obligors' sequence
# numbers, the list of forms, the stored check, and every file of the
# output directory with its hash. Read through kdm, so an open finishes an
# interrupted run first, as it would for the user.
number() {  # the control number of file $1
  sha1sum <"$1" | cut -c1-40 | tr a-f A-F | sed 's/\(.\{10\}\)\(.\{10\}\)\(.\{10\}\)/\1-\2-\3-/'
}
state() {
  forms=$("$KDM" --data "$1" forms)
  echo "$forms"
  for t in TBOSIGUR TBPOSLOD TBTMPDAT TBGRESKE TBIZLAZ TBIZLAZ1; do "$KDM" --data "$1" table export "$t" | sha1sum; done
  (cd "$1" && for f in izlaz/* TBIZLAZ2.TXT; do echo "$f $(sha1sum <"$f")"; done)
  # Every control number belongs to a delivered file.
  delivered=$(for f in "$1"/izlaz/*; do number "$f"; done)
  echo "$forms" | while read -r key rest; do
    echo "$delivered" | grep -qx -- "${rest##* }" || echo "form $key: control number ${rest##* } of no delivered file"
  done
}

old=$(state "$base")
cp -a "$base" "$work/c"
KDM_FAULT_TRACE="$work/trace" run "$work/c" >"$work/out" 2>"$work/err"
check "$which: a complete run" 0 $?
new=$(state "$work/c")
check "$which: the run changes the state" 1 "$([ "$old" != "$new" ] && echo 1 || echo 0)"
points=$(sort -u "$work/trace" | grep -v '^$')
check "$which: the run passes its steps" 1 "$([ -n "$points" ] && echo 1 || echo 0)"

# Short directory names: the list of forms keeps paths of 60 characters.
n=0
for point in $points; do
  for how in kill nospace; do
    n=$((n + 1))
    d="$work/d$n"
    rm -rf "$d" && cp -a "$base" "$d"
    fault=$point
    [ "$how" == nospace ] && fault="$point:nospace"
    KDM_FAULT=$fault run "$d" >"$work/out" 2>"$work/err"
    rc=$?
    after=$(state "$d")
    if [ "$how" == kill ]; then
      check "$which $point killed: exit" 70 "$rc"
    elif [ "$rc" -ne 0 ]; then
      check "$which $point full disk: failure on stderr" 1 "$([ -s "$work/err" ] && echo 1 || echo 0)"
      check "$which $point full disk: no success printed" 0 "$(cat "$work/out" "$work/err" | grep -c '^OBVEZNIK JE USPJEŠNO\|^Formiran je')"
    fi
    if [ "$after" != "$old" ] && [ "$after" != "$new" ]; then
      failures=$((failures + 1))
      printf 'FAIL %s %s: neither the old state nor the new one\n' "$which $point" "$how"
      diff <(echo "$old") <(echo "$after") | head -20
      diff <(echo "$new") <(echo "$after") | head -20
    else
      passes=$((passes + 1))
    fi
    run "$d" >"$work/out" 2>"$work/err"
    rc=$?
    check "$which $point $how: the next run completes" 0 "$rc"
    [ "$rc" -eq 0 ] || cat "$work/err"
    check "$which $point $how: and gives the new state" "$new" "$(state "$d")"
    check "$which $point $how: no temporary left" "" "$(find "$d" -name '*.kdmtmp')"
  done
done

printf '%d passed, %d failed\n' "$passes" "$failures"
[ "$failures" -eq 0 ]
