# Checks for the tests that print through the private scheduler, sourced
# after cups-harness.sh. A failed check is reported with what was expected
# and what came, and counted; checks_done ends the test, showing the
# scheduler's error log when anything failed.
#
# The tests are started by CTest with these in the environment:
#   JOBLOG_FILTER  the built joblogfilter
#   JOBLOG_SOURCE  the source tree (PPDs, the sample job, the printer prelude)
# (The end-to-end tests source these checks too.)

: "${JOBLOG_FILTER:?the built joblogfilter}"
: "${JOBLOG_SOURCE:?the source tree}"
PPD_LP4100=$JOBLOG_SOURCE/Filter/PPD/zelvo-lp4100ps.ppd
PPD_MF6200=$JOBLOG_SOURCE/Filter/PPD/zelvo-mf6200ps.ppd
SAMPLE_PS=$JOBLOG_SOURCE/samples/report.ps
PRINTER_PRELUDE=$JOBLOG_SOURCE/Tests/Ghostscript/printer-prelude.ps
CHECKS_FAILED=0

check_fail() {
  echo "FAIL: $*" >&2
  CHECKS_FAILED=$((CHECKS_FAILED + 1))
}

# check_eq WHAT EXPECTED ACTUAL
check_eq() {
  [ "$2" = "$3" ] && return 0
  check_fail "$1"$'\n'"  expected: $(printf '%s' "$2" | sed '2,$s/^/            /')"$'\n'"  actual:   $(printf '%s' "$3" | sed '2,$s/^/            /')"
  return 1
}

checks_done() {
  if [ "$CHECKS_FAILED" -ne 0 ]; then
    echo "$CHECKS_FAILED check(s) failed" >&2
    if declare -F cups_show_log > /dev/null; then cups_show_log; fi
    exit 1
  fi
  echo "all checks passed"
}

# The sample job as PDF, made fresh from the PostScript sample.
make_sample_pdf() {
  ps2pdf "$SAMPLE_PS" "$1" || cups_fail "ps2pdf cannot make $1"
}

# A PPD of the same printer whose last filter passes the job on unchanged:
# its queue prints what CUPS's own filters make of a job, the reference a
# spliced job is compared with.
make_reference_ppd() {
  sed '/^\*cupsFilter2:/s/ joblogfilter"$/ -"/' "$1" > "$2"
  grep -q '^\*cupsFilter2: .* 0 -"$' "$2" || cups_fail "no joblogfilter line to replace in $1"
}

# The captured output of a job, once the job has ended.
captured() {
  echo "$CUPS_OUT/$1-$2.prn"
}

# What a printer of this line reports of the job-control requests of a job,
# into REPORT: one "PRINTER ..." line per request (Ghostscript with the test
# prelude). Fails the check when Ghostscript reports an error.
printer_report() {
  local job=$1 status
  REPORT=$(gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=/dev/null "$PRINTER_PRELUDE" "$job" 2>&1)
  status=$?
  [ "$status" -eq 0 ] || check_fail "Ghostscript with the prelude fails on $job (status $status): $REPORT"
}

# The text of the pages a printer without this line's procedures prints
# (plain Ghostscript), into FILE; fails the check on any PostScript error or
# anything printed besides the pages.
printed_pages() {
  local job=$1 pages=$2 out status
  out=$(gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile="$pages" "$job" 2>&1)
  status=$?
  [ "$status" -eq 0 ] && [ -z "$out" ] ||
    check_fail "plain Ghostscript does not print $job cleanly (status $status): $out"
}

# The current minute in a time zone (the machine's when none is given), as
# the filter stamps it.
minute_in() {
  if [ -n "$1" ]; then TZ=$1 date +%Y%m%d%H%M; else date +%Y%m%d%H%M; fi
}

# Checks that every time stamp in REPORT lies between two minutes, then
# replaces each with STAMP. (Plain bash: this runs once per job.)
check_stamps() {
  local what=$1 earliest=$2 latest=$3 rest=$REPORT stamped= stamp
  local pattern='([Tt]ime=\()([0-9]*)\)'
  while [[ $rest =~ $pattern ]]; do
    stamp=${BASH_REMATCH[2]}
    if [ "${#stamp}" -ne 12 ] || [ "$stamp" -lt "$earliest" ] || [ "$stamp" -gt "$latest" ]; then
      check_fail "$what: time stamp $stamp is not the client's wall clock ($earliest to $latest)"
    fi
    stamped+=${rest%%"${BASH_REMATCH[0]}"*}${BASH_REMATCH[1]}STAMP\)
    rest=${rest#*"${BASH_REMATCH[0]}"}
  done
  REPORT=$stamped$rest
}

# Ghostscript writes its run's date into a job made from PDF; two otherwise
# equal jobs differ there and nowhere else.
without_creation_date() {
  sed '1,/^%%EndComments/s/^%%CreationDate: .*/%%CreationDate: (date)/' "$1" > "$2"
}

# Checks that SPLICED is REFERENCE with only the job-control snippet added,
# right in front of the first %%BeginProlog line, and writes the snippet to
# SNIPPET.
check_spliced() {
  local what=$1 spliced=$2 reference=$3 snippet=$4
  local work=$CUPS_DIR/splice.$BASHPID
  mkdir -p "$work"
  without_creation_date "$spliced" "$work/spliced"
  without_creation_date "$reference" "$work/reference"

  local ref_line out_line
  ref_line=$(grep -a -n -m 1 '^%%BeginProlog' "$work/reference" | cut -d: -f1)
  out_line=$(grep -a -n -m 1 '^%%BeginProlog' "$work/spliced" | cut -d: -f1)
  if [ -z "$ref_line" ] || [ -z "$out_line" ]; then
    check_fail "$what: no %%BeginProlog line (reference line '${ref_line}', printed line '${out_line}')"
    return 1
  fi
  # Before the marker: the reference's lines, then the snippet.
  head -n $((ref_line - 1)) "$work/reference" > "$work/ref-head"
  head -n $((ref_line - 1)) "$work/spliced" > "$work/out-head"
  if ! cmp -s "$work/ref-head" "$work/out-head"; then
    check_fail "$what: the lines before the snippet differ from what CUPS's filters made of the job:"$'\n'"$(diff "$work/ref-head" "$work/out-head" | head -n 20)"
    return 1
  fi
  sed -n "${ref_line},$((out_line - 1))p" "$work/spliced" > "$snippet"
  # From the marker on: the reference, byte for byte.
  if ! cmp -s <(tail -n +"$ref_line" "$work/reference") <(tail -n +"$out_line" "$work/spliced"); then
    check_fail "$what: the job from its first %%BeginProlog on differs from what CUPS's filters made of it:"$'\n'"$(diff <(tail -n +"$ref_line" "$work/reference") <(tail -n +"$out_line" "$work/spliced") | head -n 20)"
    return 1
  fi
  if [ "$(head -n 1 "$snippet")" != mark ]; then
    check_fail "$what: no job-control snippet in front of %%BeginProlog (found '$(head -n 1 "$snippet")')"
    return 1
  fi
  rm -rf "$work"
}

# check_each FUNCTION ARG...: calls FUNCTION once per ARG, on as many workers
# as the machine has cores; their output follows in the order of the ARGs,
# and their failed checks count here.
check_each() {
  local function=$1
  shift
  local workers=$(nproc 2> /dev/null || echo 2) worker pids=() status
  [ "$workers" -le 4 ] || workers=4
  for ((worker = 0; worker < workers; worker++)); do
    (
      CHECKS_FAILED=0
      local i=0 arg
      for arg in "$@"; do
        ((i++ % workers == worker)) && "$function" "$arg" > "$CUPS_DIR/check-$i.log" 2>&1
      done
      exit $((CHECKS_FAILED > 255 ? 255 : CHECKS_FAILED))
    ) &
    pids+=($!)
  done
  for worker in "${pids[@]}"; do
    wait "$worker"
    status=$?
    CHECKS_FAILED=$((CHECKS_FAILED + status))
  done
  local i
  for ((i = 1; i <= $#; i++)); do
    [ -s "$CUPS_DIR/check-$i.log" ] && cat "$CUPS_DIR/check-$i.log" >&2
    rm -f "$CUPS_DIR/check-$i.log"
  done
  return 0
}
