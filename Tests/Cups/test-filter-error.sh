#!/usr/bin/env bash
# A job whose type needs an option it lacks fails in joblogfilter: the job
# ends stopped with errors, the printer's state message carries the filter's
# ERROR: line, the printer receives none of the document, and the next job on
# the same queue prints. The queue keeps CUPS's default error policy,
# stop-printer: a failing filter stops its job, never the queue.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups-harness.sh"
source "$here/checks.sh"
trap cups_stop EXIT

cups_start "$JOBLOG_FILTER"
cups_add_queue office "$PPD_LP4100" -o printer-error-policy=stop-printer
check_eq "the queue's error policy" stop-printer "$(cups_printer_attribute office printer-error-policy)"

# The line the filter itself writes for these options, without the system's
# error text after the last colon (which depends on what failed last).
filter_error_line() {
  "$JOBLOG_FILTER" 1 root report.ps 1 "$1" "$SAMPLE_PS" 2>&1 > /dev/null | head -n 1
}

# failing_job NAME OPTIONS lp-options...: OPTIONS are the same options in the
# filter's own form, for running it directly.
failing_job() {
  local name=$1 options=$2
  shift 2
  local id message line out
  id=$(cups_print office "$SAMPLE_PS" "$@") || exit 1
  cups_wait_jobs "$id"

  check_eq "$name: job state" processing-stopped "${CUPS_JOB_STATE[$id]:-}"
  [[ $(cups_job_attribute "$id" job-state-reasons) == *job-completed-with-errors* ]] ||
    check_fail "$name: job-state-reasons: $(cups_job_attribute "$id" job-state-reasons)"

  # cupsd takes the line's first "ERROR: " for the message level.
  line=$(filter_error_line "$options")
  [[ $line == "ERROR: "* ]] || check_fail "$name: the filter run directly writes no ERROR: line: '$line'"
  line=${line#ERROR: }
  message=$(cups_printer_attribute office printer-state-message)
  check_eq "$name: printer-state-message" "${line%: *}" "${message%: *}"
  message=$(cups_job_attribute "$id" job-printer-state-message)
  check_eq "$name: job-printer-state-message" "${line%: *}" "${message%: *}"

  check_eq "$name: printer state" idle "$(cups_printer_attribute office printer-state)"
  check_eq "$name: queue accepts jobs" true "$(cups_printer_attribute office printer-is-accepting-jobs)"

  # What was written before the failure reaches the printer: the job's
  # header comments, no request and no page.
  out=$(captured office "$id")
  if [ -f "$out" ] && grep -a -q -E '^%%BeginProlog|setuserinfo|showpage' "$out"; then
    check_fail "$name: the printer received part of the document:"$'\n'"$(head -n 30 "$out")"
  fi
}

next_job() {
  local name=$1 user=$2 id
  id=$(cups_print office "$SAMPLE_PS" -o com.zelvo.pm.UserID="$user") || exit 1
  cups_wait_jobs "$id"
  check_eq "$name: the next job's state" completed "${CUPS_JOB_STATE[$id]:-}" || return
  printer_report "$(captured office "$id")"
  check_eq "$name: the next job's request" "PRINTER setuserinfo userid=($user) usercode=() time=(STAMP)" \
    "$(sed 's/time=([0-9]*)/time=(STAMP)/' <<< "$REPORT")"
}

failing_job "Locked Print without a password" \
  'com.zelvo.pm.JobType="Locked Print" com.zelvo.pm.UserID=alice' \
  -o 'com.zelvo.pm.JobType="Locked Print"' -o com.zelvo.pm.UserID=alice
next_job "after Locked Print without a password" bob

failing_job "Document Server without a file name" \
  'com.zelvo.pm.JobType="Document Server" com.zelvo.pm.UserID=carol com.zelvo.pm.Password=1234' \
  -o 'com.zelvo.pm.JobType="Document Server"' -o com.zelvo.pm.UserID=carol -o com.zelvo.pm.Password=1234
next_job "after Document Server without a file name" dave

failing_job "user code switched on without a user code" \
  'com.zelvo.pm.EnableUserCode..b. com.zelvo.pm.UserID=erin' \
  -o com.zelvo.pm.EnableUserCode..b.=True -o com.zelvo.pm.UserID=erin
next_job "after a user code switched on without a user code" frank

# A PIN the client hashed cannot unlock the job at the printer.
failing_job "job-password sent encrypted" \
  'job-password=1234 job-password-encryption=sha2-256 job-accounting-user-id=grace' \
  -o job-password=1234 -o job-password-encryption=sha2-256 -o job-accounting-user-id=grace
next_job "after a job-password sent encrypted" heidi

checks_done
