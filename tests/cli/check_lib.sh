# What every command-line test script shares: the executable, a scratch
# directory removed at the end (kept with KEEP=1), and the counting of
# cases. A script sources it, calls check for each case and ends with
# finish.
KDM=${KDM:?path of the kdm executable}
work=$(mktemp -d)
# A paused run in the background is released and waited for first.
trap 'rm -f "$work/pause"; wait; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
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

finish() {
  printf '%d passed, %d failed\n' "$passes" "$failures"
  [ "$failures" -eq 0 ]
}
