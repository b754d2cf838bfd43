#!/usr/bin/env bash
# The pane feeds the filter through a private cupsd (Tests/Cups/cups-harness.sh):
# for each job of pane-jobs.sh, the dialog is opened for the make and model of
# a queue with our PPD, and the options line of the committed pane goes to lp,
# either whole as one -o argument or each option as its own -o. CUPS runs its
# filters and joblogfilter; a printer of this line (Ghostscript with the test
# prelude, on what the capture backend kept) must receive exactly the values
# typed into the pane, stamped with the client's wall clock.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/pane-jobs.sh"
source "$JOBLOG_CUPS_HARNESS"
trap cups_stop EXIT

cups_start "$JOBLOG_FILTER"
cups_add_queue office "$PPD_LP4100"
cups_add_queue mfp "$PPD_MF6200"
declare -A queue_of
for queue in office mfp; do
  queue_of[$(cups_printer_attribute "$queue" printer-make-and-model)]=$queue
done

# The options line as separate options, split at the blanks between them
# (pdehost quotes a value with blanks in double quotes, escaping " and \).
split_options() {
  local line=$1 word= quoted= escaped= c i
  SPLIT=()
  for ((i = 0; i < ${#line}; i++)); do
    c=${line:i:1}
    if [ -n "$escaped" ]; then
      escaped=
    elif [ "$c" = '\' ]; then
      escaped=1
    elif [ "$c" = '"' ]; then
      if [ -n "$quoted" ]; then quoted=; else quoted=1; fi
    elif [ "$c" = ' ' ] && [ -z "$quoted" ]; then
      SPLIT+=("$word") word=
      continue
    fi
    word+=$c
  done
  SPLIT+=("$word")
}

ids=() queues=() earliest=() forms=()
for i in "${!JOB_NAMES[@]}"; do
  queue=${queue_of[${JOB_MODELS[$i]}]:-}
  [ -n "$queue" ] || cups_fail "no queue has the make and model ${JOB_MODELS[$i]}"
  earliest+=("$(minute_in "${JOB_ZONES[$i]}")")
  pane_options "${JOB_MODELS[$i]}" "${JOB_ZONES[$i]}" "${JOB_SCRIPTS[$i]}" || cups_fail "the pane did not commit"
  if ((i % 2 == 0)); then
    forms+=("one -o") lp_options=(-o "$PANE_OPTIONS")
  else
    split_options "$PANE_OPTIONS"
    forms+=("${#SPLIT[@]} times -o") lp_options=()
    for option in "${SPLIT[@]}"; do lp_options+=(-o "$option"); done
  fi
  ids+=("$(cups_print "$queue" "$SAMPLE_PS" "${lp_options[@]}")") || exit 1
  queues+=("$queue")
done

cups_wait_jobs "${ids[@]}"

for i in "${!JOB_NAMES[@]}"; do
  name="${JOB_NAMES[$i]} (${JOB_MODELS[$i]}, options as ${forms[$i]})"
  id=${ids[$i]}
  check_eq "$name: job state" completed "${CUPS_JOB_STATE[$id]:-}" || continue
  printer_report "$CUPS_OUT/${queues[$i]}-$id.prn"
  check_stamps "$name" "${earliest[$i]}" "$(minute_in "${JOB_ZONES[$i]}")"
  check_eq "$name: what the printer received" "${JOB_REPORTS[$i]}" "$REPORT"
done

checks_done
echo "all ${#JOB_NAMES[@]} jobs printed through cupsd: the printer received what was typed into the pane"
