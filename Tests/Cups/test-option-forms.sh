#!/usr/bin/env bash
# Job options in the forms lp and cupsd really hand them to the filter: a
# Boolean given as True or False arrives as a bare flag or a no-prefixed flag,
# a value with blanks arrives escaped; the standard IPP attributes for
# accounting and PINs arrive beside ours. For each form the test checks what
# cupsd put into the filter's options argument and what the printer (the
# Ghostscript prelude) received.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups-harness.sh"
source "$here/checks.sh"
trap cups_stop EXIT

cups_start "$JOBLOG_FILTER"
cups_add_queue office "$PPD_LP4100"

ids=() names=() delivered=() reports=()
earliest=$(minute_in "")

# form_case NAME DELIVERED EXPECTED-REPORT lp-options...
# DELIVERED is one word as cupsd writes it into the options argument.
form_case() {
  names+=("$1") delivered+=("$2") reports+=("$3")
  shift 3
  ids+=("$(cups_print office "$SAMPLE_PS" "$@")") || exit 1
}

code='-o com.zelvo.pm.UserCode=4711'
used='PRINTER setuserinfo userid=() usercode=(4711) time=(STAMP)'
unused='PRINTER setuserinfo userid=() usercode=() time=(STAMP)'
flag=com.zelvo.pm.EnableUserCode..b.

form_case "=True" "$flag" "$used" $code -o "$flag=True"
form_case "=true" "$flag" "$used" $code -o "$flag=true"
form_case "=TRUE" "$flag" "$used" $code -o "$flag=TRUE"
form_case "quoted \"True\"" "$flag" "$used" $code -o "$flag=\"True\""
form_case "bare flag" "$flag" "$used" $code -o "$flag"
form_case "=False" "no$flag" "$unused" $code -o "$flag=False"
form_case "no-prefixed flag" "no$flag" "$unused" $code -o "no$flag"
form_case "=yes, which lp passes on as a word" "$flag=yes" "$unused" $code -o "$flag=yes"
form_case "user code without the switch" "com.zelvo.pm.UserCode=4711" "$unused" $code

paused=(-o 'com.zelvo.pm.JobType="Paused Print"' -o com.zelvo.pm.UserID=alice)
paused_report='PRINTER setuserinfo userid=(alice) usercode=() time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(alice) Time=(STAMP) JobID=(Q3 report)'
form_case "blank in double quotes" 'com.zelvo.pm.FileName=Q3\ report' "$paused_report" \
  "${paused[@]}" -o 'com.zelvo.pm.FileName="Q3 report"'
form_case "blank in single quotes" 'com.zelvo.pm.FileName=Q3\ report' "$paused_report" \
  "${paused[@]}" -o "com.zelvo.pm.FileName='Q3 report'"
form_case "blank after a backslash" 'com.zelvo.pm.FileName=Q3\ report' "$paused_report" \
  "${paused[@]}" -o 'com.zelvo.pm.FileName=Q3\ report'
form_case "job type in single quotes" 'com.zelvo.pm.JobType=Paused\ Print' "$paused_report" \
  -o "com.zelvo.pm.JobType='Paused Print'" -o com.zelvo.pm.UserID=alice -o 'com.zelvo.pm.FileName="Q3 report"'

# PostScript's string delimiters and escape character reach the printer as data.
form_case "parentheses and a backslash" 'com.zelvo.pm.UserID=a(b)c\\d' \
  'PRINTER setuserinfo userid=(a(b)c\d) usercode=() time=(STAMP)' \
  -o 'com.zelvo.pm.UserID="a(b)c\\d"'

# Unquoted, lp takes the blank for the end of the value: the job type is
# "Locked", which no printer knows, and the job prints at once as a Normal
# job. This is why the job type's value needs quotes of its own.
form_case "job type with an unquoted blank" 'com.zelvo.pm.JobType=Locked' \
  'PRINTER setuserinfo userid=(bob) usercode=() time=(STAMP)' \
  -o 'com.zelvo.pm.JobType=Locked Print' -o com.zelvo.pm.UserID=bob -o com.zelvo.pm.Password=1234

# The standard IPP job attributes for accounting and for a held job's PIN,
# as lp sends them, stand in for our own options.
form_case "job-accounting-user-id and job-account-id" "job-account-id=42" \
  'PRINTER setuserinfo userid=(carol) usercode=(42) time=(STAMP)' \
  -o job-accounting-user-id=carol -o job-account-id=42
form_case "job-password" "job-password=2468" \
  'PRINTER setuserinfo userid=(dave) usercode=() time=(STAMP)
PRINTER secureprint userid=(dave) time=(STAMP) password=(2468)' \
  -o job-password=2468 -o job-accounting-user-id=dave

cups_wait_jobs "${ids[@]}"
latest=$(minute_in "")

check_form() {
  local i=$1
  local name=${names[$i]} id=${ids[$i]} options
  check_eq "$name: job state" completed "${CUPS_JOB_STATE[$id]:-}" || return
  options=$(< "$CUPS_OUT/office-$id.options")
  [[ " $options " == *" ${delivered[$i]} "* ]] ||
    check_fail "$name: cupsd did not deliver '${delivered[$i]}'; the filter's options were: $options"
  printer_report "$(captured office "$id")"
  check_stamps "$name" "$earliest" "$latest"
  check_eq "$name: what the printer received" "${reports[$i]}" "$REPORT"
}
check_each check_form "${!ids[@]}"

checks_done
