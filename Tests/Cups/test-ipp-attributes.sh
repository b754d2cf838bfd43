#!/usr/bin/env bash
# Clients that know only the standard IPP job attributes: the queue offers a
# 4-digit Job PIN, an accounting user ID and an account ID, a Print-Job
# carrying them (sent with ipptool, as such a client sends it) reaches the
# printer as a locked job under that user and account, our own options win
# where a job carries both, and a PIN that arrives hashed stops the job.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups-harness.sh"
source "$here/checks.sh"
trap cups_stop EXIT

cups_start "$JOBLOG_FILTER"
cups_add_queue office "$PPD_MF6200"

check_eq "job-password-supported" 4 "$(cups_printer_attribute office job-password-supported)"
check_eq "job-account-id-supported" true "$(cups_printer_attribute office job-account-id-supported)"
check_eq "job-accounting-user-id-supported" true \
  "$(cups_printer_attribute office job-accounting-user-id-supported)"

# ipp_print TEST-FILE ipptool -d settings...: echoes the new job's ID.
ipp_print() {
  local request=$1 answer
  shift
  answer=$(ipptool -tv -f "$SAMPLE_PS" "$@" "ipp://$CUPS_SERVER/printers/office" \
    "$here/$request" 2>&1) || cups_fail "ipptool refused the Print-Job:"$'\n'"$answer"
  sed -n 's/^ *job-id (integer) = //p' <<< "$answer"
}

# check_job NAME ID DELIVERED EXPECTED-REPORT: the job completed, the filter
# was given DELIVERED among its options, and the printer received the report.
check_job() {
  local name=$1 id=$2 delivered=$3 expected=$4 earliest=$5 options
  check_eq "$name: job state" completed "${CUPS_JOB_STATE[$id]:-}" || return
  options=$(< "$CUPS_OUT/office-$id.options")
  [[ " $options " == *" $delivered "* ]] ||
    check_fail "$name: cupsd did not deliver '$delivered'; the filter's options were: $options"
  printer_report "$(captured office "$id")"
  check_stamps "$name" "$earliest" "$(minute_in "")"
  check_eq "$name: what the printer received" "$expected" "$REPORT"
}

earliest=$(minute_in "")
standard=$(ipp_print ipp-print-job.test -d pin=2580 -d encryption=none -d account=0042 \
  -d accounting_user=alice) || exit 1
both=$(ipp_print ipp-print-job-with-ours.test -d pin=2580 -d encryption=none -d account=0042 \
  -d accounting_user=alice -d user_id=bob -d password=9137 -d user_code=7777) || exit 1
hashed=$(ipp_print ipp-print-job.test -d pin=03ac674216f3e15c761ee1a5e255f067953623c8 \
  -d encryption=sha2-256 -d account=0042 -d accounting_user=carol) || exit 1
cups_wait_jobs "$standard" "$both" "$hashed"

check_job "standard attributes only" "$standard" "job-password=2580" \
  'PRINTER setuserinfo userid=(alice) usercode=(0042) time=(STAMP)
PRINTER secureprint userid=(alice) time=(STAMP) password=(2580)' "$earliest"

check_job "standard attributes and our options" "$both" "job-accounting-user-id=alice" \
  'PRINTER setuserinfo userid=(bob) usercode=(7777) time=(STAMP)
PRINTER secureprint userid=(bob) time=(STAMP) password=(9137)' "$earliest"

check_eq "a hashed PIN: job state" processing-stopped "${CUPS_JOB_STATE[$hashed]:-}"
message=$(cups_job_attribute "$hashed" job-printer-state-message)
check_eq "a hashed PIN: the job's message" \
  "The job-password arrived encrypted; the printer needs the PIN as it was typed" "$message"
out=$(captured office "$hashed")
if [ -f "$out" ] && grep -a -q -E '^%%BeginProlog|setuserinfo|showpage' "$out"; then
  check_fail "a hashed PIN: the printer received part of the document"
fi

checks_done
