# A month of one bookkeeping service, for the tests of runs that deliver
# files: two obligors with their employee rows, their forms, the
# collective file and a check of it, then one more row for obligor 1 that
# the next forming takes. Needs $KDM and $work; KDM_TODAY=2005-06-15.

make_month() {  # make_month DIR
  local base=$1
  (
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
    printf 'REDBROJ,JMBG,PREZIME,OPCINA,VRSTAUPLA,CLANDN,OSNOVA1,GODOBRA,MJEOBRA,ODDANA,DODANA,IZNOS7,IZNOS8,IZNOS11\n1,0101980000029,Cvitić Ema,1333,01,N,11,2005,5,1,31,2500.00,2000.00,1800.00\n' >"$work/emp2.csv"
    "$KDM" --data "$base" employee save "$work/emp2.csv" >/dev/null
  ) || { echo "the month could not be set up"; exit 1; }
}

# A payroll file of obligor 1's three persons (its form 0015001 again).
payroll_file() {  # payroll_file FILE
  local line
  line() {  # line JMBG NAME NAME-LENGTH
    printf '00001%-12s%-13s010100012005050131%s%s%*s' 123456790000 "" "$1" "$2" $((50 - $3)) ''
    printf '1333D11 000000000150000000000000100000000000000015000000000000005000000000000100000\r\n'
  }
  { line 0101980000002 'Ana' 3; line 0101980000010 'Ivo' 3; line 0101980000029 'Ema' 3; } >"$1"
}
