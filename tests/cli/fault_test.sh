#!/usr/bin/env bash
# Every run that changes the store and delivers files, stopped at each of
# its steps: killed at once, or failing there as on a full disk. After each
# stop the data directory, as the next command sees it, holds either the
# state before the run or the state after a complete run, and the run done
# again completes normally.
#
#   fault_test.sh form|payroll|collect|check
set -u
source "$(dirname "$0")/check_lib.sh"
which=${1:?form, payroll, collect or check}
export KDM_TODAY=2005-06-15

source "$(dirname "$0")/month_fixture.sh"
base="$work/base"
make_month "$base"
payroll_file "$work/placa.txt"

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
# output directory with its hash. kdm reads first, so its open finishes an
# interrupted run, as it would for the user.
number() {  # the control number of file $1
  sha1sum <"$1" | cut -c1-40 | tr a-f A-F | sed 's/\(.\{10\}\)\(.\{10\}\)\(.\{10\}\)/\1-\2-\3-/'
}
state() {
  forms=$("$KDM" --data "$1" forms)
  echo "$forms"
  # The tables in one read, after kdm has opened the store.
  sqlite3 "$1/kdm.db" "$(for t in TBOSIGUR TBPOSLOD TBTMPDAT TBGRESKE TBIZLAZ TBIZLAZ1; do
    printf 'SELECT * FROM %s ORDER BY rowid; ' "$t"; done)" | sha1sum
  (cd "$1" && for f in izlaz/* TBIZLAZ2.TXT; do echo "$f $(sha1sum <"$f")"; done)
  "$KDM" --data "$1" db check >/dev/null || echo "db check fails"
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

# The output directory gone: the run fails, says so, and changes nothing.
d="$work/gone"
cp -a "$base" "$d"
mv "$d/izlaz" "$d/away"
before=$(state "$d" 2>/dev/null)
run "$d" >"$work/out" 2>"$work/err"
rc=$?
if [ "$which" == check ]; then
  check "$which without the output directory: nothing to check" 1 "$rc"
else
  check "$which without the output directory: exit" 1 "$rc"
  check "$which without the output directory: says why" 1 "$(grep -c 'No such file or directory' "$work/err")"
fi
check "$which without the output directory: nothing changed" "$before" "$(state "$d" 2>/dev/null)"

finish
