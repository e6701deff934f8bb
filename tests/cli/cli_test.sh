#!/usr/bin/env bash
# The command line as a user runs it on a fresh data directory.
set -u
KDM=${KDM:?path of the kdm executable}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}

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

printf 'abc' >"$work/abc"
check "hash" "A9993E3647-06816ABA3E-25717850C2-6C9CD0D89D" "$("$KDM" hash "$work/abc")"
"$KDM" hash "$work/none" >/dev/null 2>"$work/err"
check "hash of a missing file" 1 $?

"$KDM" --data "$data" table export NOSUCH >/dev/null 2>"$work/err"
check "unknown label exit" 1 $?
check "unknown label message" "Unknown file label: NOSUCH (kdm table list shows them)" "$(cat "$work/err")"
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

printf '%d passed, %d failed\n' "$passes" "$failures"
[ "$failures" -eq 0 ]
