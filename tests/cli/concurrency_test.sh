#!/usr/bin/env bash
# Two runs on one data directory at once: while one holds its files (held
# at a step by the fault hook's pause), a second run that needs one of them
# is refused at once with the "file in use" error, changes nothing and
# exits 1; reading commands go on working; the first run then completes
# with its own data.
set -u
source "$(dirname "$0")/check_lib.sh"
export KDM_TODAY=2005-06-15

source "$(dirname "$0")/month_fixture.sh"
base="$work/base"
make_month "$base"
payroll_file "$work/placa.txt"

form() { "$KDM" --data "$d" form --obligor "$1" --type 01 --year 2005 --month 05 --seq 1 --sent 15.06.2005 --mode add; }
payroll_form() { "$KDM" --data "$d" payroll form "$work/placa.txt" --obligor 1 --type 01 --year 2005 --month 05 --seq 1 --sent 15.06.2005; }
payroll_check() { "$KDM" --data "$d" payroll check "$work/placa.txt" --obligor 1 --type 01 --year 2005 --month 05; }
collect() { "$KDM" --data "$d" collect --sent 15.06.2005; }
formal_check() { "$KDM" --data "$d" check "$d/izlaz/VALTA.RM0"; }
snapshot() {
  "$KDM" --data "$d" forms
  for t in TBOSIGUR TBPOSLOD TBTMPDAT TBGRESKE TBOSIGU2 TBIZLAZ1; do "$KDM" --data "$d" table export "$t" | sha1sum; done
  sha1sum "$d"/izlaz/*
}

# first POINT "RUN..." second "RUN..." FILE: the first run, paused at POINT,
# then the second, which must be refused naming FILE.
pair() {
  local point=$1 first=$2 second=$3 file=$4 name="$2 then $3"
  d="$work/d$((++n))"
  cp -a "$base" "$d"
  : >"$work/pause"
  KDM_FAULT="$point:pause" KDM_FAULT_PAUSE="$work/pause" KDM_FAULT_TRACE="$work/trace$n" $first >"$work/out1" 2>"$work/err1" &
  local pid=$!
  for _ in $(seq 300); do grep -qx "$point" "$work/trace$n" 2>/dev/null && break; sleep 0.05; done
  check "$name: the first run holds its files" "$point" "$(grep -x "$point" "$work/trace$n")"
  local before
  before=$(snapshot)
  $second >"$work/out2" 2>"$work/err2"
  check "$name: the second is refused" 1 $?
  check "$name: because its file is in use" "File is in use by another window or program: $file" "$(tail -1 "$work/err2")"
  check "$name: and changed nothing" "$before" "$(snapshot)"
  "$KDM" --data "$d" forms >/dev/null
  check "$name: reading goes on" 0 $?
  rm -f "$work/pause"
  wait "$pid"
  check "$name: the first completes" 0 $?
}

n=0
pair form.rows "form 1" "form 2" TBVALTA
# The first run's delivered file holds its own form, under its control number.
check "form 1: its file holds obligor 1" "Poduzeće d.o.o." "$(sed -n 2p "$d/izlaz/F0015001.TXT" | cut -c30-44 | iconv -f CP1250 -t UTF-8)"
check "form 1: its control number" "$("$KDM" hash "$d/izlaz/F0015001.TXT")" "$("$KDM" --data "$d" forms | grep '^001500101' | awk '{print $NF}')"
pair form.file "form 1" payroll_form TBVALTA
pair payroll.rows payroll_form "form 2" TBVALTA
pair payroll.check payroll_check payroll_form TBUPLATE
pair payroll.check payroll_check payroll_check TBUPLATE
pair collect.marks collect "form 2" TBVALTA
pair check.records formal_check formal_check TBVALTA1
pair check.records formal_check collect TBVALTA1

finish
