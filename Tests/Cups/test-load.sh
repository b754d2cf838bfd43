#!/usr/bin/env bash
# 50 jobs with options of their own, submitted at once on two queues: every
# job completes, and the printer receives each job's own values, none lost or
# mixed up. Prints how long the scheduler took to print them all.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups-harness.sh"
source "$here/checks.sh"
trap cups_stop EXIT

jobs=50
job_types=("Normal" "Locked Print" "Sample Print" "Document Server" "Paused Print" "Saved Print"
           "Save Document Print")
zones=(JST-9 PST8 GMT0 IST-5 EST5 CET-1 NZST-12)

cups_start "$JOBLOG_FILTER"
cups_add_queue office "$PPD_LP4100"
cups_add_queue mfp "$PPD_MF6200"
make_sample_pdf "$CUPS_DIR/report.pdf"

# What the printer must receive from job N (time stamps as STAMP), into
# EXPECTED.
expected_report() {
  local n=$1 type=${job_types[$(($1 % 7))]}
  local user=u$n code= password=$((1000 + n)) file=f$n
  ((n % 2)) && code=$((50000 + n))
  EXPECTED="PRINTER setuserinfo userid=($user) usercode=($code) time=(STAMP)"
  case $type in
    "Locked Print") EXPECTED+=$'\n'"PRINTER secureprint userid=($user) time=(STAMP) password=($password)" ;;
    "Sample Print") EXPECTED+=$'\n'"PRINTER proofprint userid=($user) time=(STAMP)" ;;
    "Document Server")
      EXPECTED+=$'\n'"PRINTER storedprint userid=($user) time=(STAMP) password=($password) filename=($file)" ;;
    "Paused Print") EXPECTED+=$'\n'"PRINTER SetJobType JobType=(3) UserID=($user) Time=(STAMP) JobID=($file)" ;;
    "Saved Print")
      EXPECTED+=$'\n'"PRINTER SetJobType JobType=(3) UserID=($user) Time=(STAMP) Password=($password) JobID=($file) Save=(1) Public=(false)" ;;
    "Save Document Print")
      EXPECTED+=$'\n'"PRINTER SetJobType JobType=(3) UserID=($user) Time=(STAMP) Password=($password) JobID=($file) Save=(2) Public=(false)" ;;
  esac
}

# Job N: odd jobs on the LP 4100 queue with the user code switched on, even
# jobs on the MF 6200 queue with it switched off; every fifth job a PDF.
submit() {
  local n=$1 queue=office file=$SAMPLE_PS switch=True
  ((n % 2)) || queue=mfp switch=False
  ((n % 5)) || file=$CUPS_DIR/report.pdf
  lp -h "$CUPS_SERVER" -d "$queue" -o "com.zelvo.pm.JobType=\"${job_types[$((n % 7))]}\"" \
    -o com.zelvo.pm.UserID=u$n -o com.zelvo.pm.Password=$((1000 + n)) -o com.zelvo.pm.FileName=f$n \
    -o com.zelvo.pm.EnableUserCode..b.=$switch -o com.zelvo.pm.UserCode=$((50000 + n)) \
    -o com.zelvo.pm.TimeZone=${zones[$((n % 7))]} "$file" > "$CUPS_DIR/lp-$n" 2>&1
}

# The minute each zone's clock shows before the first job and after the last.
declare -A earliest latest
for zone in "${zones[@]}"; do
  earliest[$zone]=$(minute_in "$zone")
done

started=$(date +%s%N)
submitters=()
for ((n = 1; n <= jobs; n++)); do
  submit "$n" &
  submitters+=($!)
done
for n in "${!submitters[@]}"; do
  wait "${submitters[$n]}" || { cat "$CUPS_DIR/lp-$((n + 1))" >&2; cups_fail "lp refused job $((n + 1))"; }
done
submitted=$(date +%s%N)

# The job ID each submission got, by job number.
declare -A job_of
for ((n = 1; n <= jobs; n++)); do
  answer=$(< "$CUPS_DIR/lp-$n")
  [[ $answer =~ ^request\ id\ is\ (office|mfp)-([0-9]+) ]] || cups_fail "job $n: lp answered '$answer'"
  job_of[$n]=${BASH_REMATCH[1]}-${BASH_REMATCH[2]}
done
check_eq "distinct job IDs" "$jobs" "$(printf '%s\n' "${job_of[@]}" | sort -u | wc -l)"

CUPS_WAIT_TIMEOUT=100 cups_wait_jobs $(printf '%s\n' "${job_of[@]}" | sed 's/.*-//')
finished=$(date +%s%N)
for zone in "${zones[@]}"; do
  latest[$zone]=$(minute_in "$zone")
done
ms() { echo "$((($1 - started) / 1000000))"; }
echo "LOAD: $jobs jobs on 2 queues: submitted in $(ms "$submitted") ms, all ended $(ms "$finished") ms after the first submission"

check_eq "captured outputs" "$jobs" "$(ls "$CUPS_OUT"/*.prn | wc -l)"

check_load_job() {
  local n=$1 queue=${job_of[$1]%-*} id=${job_of[$1]#*-} zone=${zones[$(($1 % 7))]}
  check_eq "job $n ($queue-$id): state" completed "${CUPS_JOB_STATE[$id]:-}" || return
  printer_report "$CUPS_OUT/$queue-$id.prn"
  check_stamps "job $n" "${earliest[$zone]}" "${latest[$zone]}"
  expected_report "$n"
  check_eq "job $n ($queue-$id, ${job_types[$((n % 7))]}): what the printer received" "$EXPECTED" "$REPORT"
}
check_each check_load_job $(seq 1 "$jobs")

checks_done
