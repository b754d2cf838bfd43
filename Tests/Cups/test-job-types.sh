#!/usr/bin/env bash
# Every job type printed with lp through a private cupsd, once as PostScript on
# an LP 4100 queue and once as PDF on an MF 6200 queue. The printer must get
# what CUPS's own filters make of the job, with the job-control snippet in
# front of its first %%BeginProlog and nothing else changed; a printer of this
# line (Ghostscript with the test prelude) must receive exactly the values
# given with lp, the time stamp in the client's zone; and a printer without
# these procedures (plain Ghostscript) must print the same pages as from the
# job without the snippet.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cups-harness.sh"
source "$here/checks.sh"
trap cups_stop EXIT

cups_start "$JOBLOG_FILTER"
work=$CUPS_DIR/work
mkdir -p "$work"
make_sample_pdf "$work/report.pdf"
make_reference_ppd "$PPD_LP4100" "$work/lp4100-reference.ppd"
make_reference_ppd "$PPD_MF6200" "$work/mf6200-reference.ppd"
cups_add_queue office "$PPD_LP4100"
cups_add_queue mfp "$PPD_MF6200"
cups_add_queue office-reference "$work/lp4100-reference.ppd"
cups_add_queue mfp-reference "$work/mf6200-reference.ppd"

# The dialog extension finds its model data by the queue's make and model.
check_eq "make and model of the LP 4100 queue" "Zelvo LP 4100 PS" "$(cups_printer_attribute office printer-make-and-model)"
check_eq "make and model of the MF 6200 queue" "Zelvo MF 6200 PS" "$(cups_printer_attribute mfp printer-make-and-model)"

reference_ps=$(cups_print office-reference "$SAMPLE_PS") || exit 1
reference_pdf=$(cups_print mfp-reference "$work/report.pdf") || exit 1

# Each case prints the PostScript and the PDF sample; the arrays hold one
# entry per job.
ids=() queues=() references=() names=() reports=() zones=() earliest=()

# job_case NAME TIME-ZONE EXPECTED-REPORT lp-options...
job_case() {
  local name=$1 zone=$2 report=$3
  shift 3
  local queue file reference
  for queue in office mfp; do
    if [ "$queue" = office ]; then
      file=$SAMPLE_PS reference=office-reference-$reference_ps
    else
      file=$work/report.pdf reference=mfp-reference-$reference_pdf
    fi
    earliest+=("$(minute_in "$zone")")
    ids+=("$(cups_print "$queue" "$file" "$@")") || exit 1
    queues+=("$queue") references+=("$reference") names+=("$name, ${file##*.} on $queue")
    reports+=("$report") zones+=("$zone")
  done
}

user_info='PRINTER setuserinfo'
job_case "no options at all" "" \
  "$user_info userid=() usercode=() time=(STAMP)"
job_case "Normal" JST-9 \
  "$user_info userid=(alice) usercode=(1001) time=(STAMP)" \
  -o com.zelvo.pm.JobType=Normal -o com.zelvo.pm.UserID=alice \
  -o com.zelvo.pm.EnableUserCode..b.=True -o com.zelvo.pm.UserCode=1001 -o com.zelvo.pm.TimeZone=JST-9
job_case "Locked Print" PST8 \
  "$user_info userid=(bob) usercode=() time=(STAMP)
PRINTER secureprint userid=(bob) time=(STAMP) password=(2002)" \
  -o 'com.zelvo.pm.JobType="Locked Print"' -o com.zelvo.pm.UserID=bob -o com.zelvo.pm.Password=2002 \
  -o com.zelvo.pm.TimeZone=PST8
job_case "Sample Print" GMT0 \
  "$user_info userid=(carol) usercode=(3003) time=(STAMP)
PRINTER proofprint userid=(carol) time=(STAMP)" \
  -o 'com.zelvo.pm.JobType="Sample Print"' -o com.zelvo.pm.UserID=carol \
  -o com.zelvo.pm.EnableUserCode..b.=True -o com.zelvo.pm.UserCode=3003 -o com.zelvo.pm.TimeZone=GMT0
job_case "Document Server" IST-5 \
  "$user_info userid=(dave) usercode=(4004) time=(STAMP)
PRINTER storedprint userid=(dave) time=(STAMP) password=(40044004) filename=(minutes4)" \
  -o 'com.zelvo.pm.JobType="Document Server"' -o com.zelvo.pm.UserID=dave -o com.zelvo.pm.Password=40044004 \
  -o com.zelvo.pm.FileName=minutes4 -o com.zelvo.pm.EnableUserCode..b.=True -o com.zelvo.pm.UserCode=4004 \
  -o com.zelvo.pm.TimeZone=IST-5
# A password given with a job type that takes none goes nowhere.
job_case "Paused Print" NST3 \
  "$user_info userid=(erin) usercode=() time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(erin) Time=(STAMP) JobID=(draft5)" \
  -o 'com.zelvo.pm.JobType="Paused Print"' -o com.zelvo.pm.UserID=erin -o com.zelvo.pm.FileName=draft5 \
  -o com.zelvo.pm.Password=5005 -o com.zelvo.pm.TimeZone=NST3
job_case "Saved Print" EST5 \
  "$user_info userid=(frank) usercode=(6006) time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(frank) Time=(STAMP) Password=(6006) JobID=(budget6) Save=(1) Public=(false)" \
  -o 'com.zelvo.pm.JobType="Saved Print"' -o com.zelvo.pm.UserID=frank -o com.zelvo.pm.Password=6006 \
  -o com.zelvo.pm.FileName=budget6 -o com.zelvo.pm.EnableUserCode..b.=True -o com.zelvo.pm.UserCode=6006 \
  -o com.zelvo.pm.TimeZone=EST5
job_case "Save Document Print" CET-1 \
  "$user_info userid=(grace) usercode=() time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(grace) Time=(STAMP) Password=(7007) JobID=(plan7) Save=(2) Public=(false)" \
  -o 'com.zelvo.pm.JobType="Save Document Print"' -o com.zelvo.pm.UserID=grace -o com.zelvo.pm.Password=7007 \
  -o com.zelvo.pm.FileName=plan7 -o com.zelvo.pm.TimeZone=CET-1

cups_wait_jobs "$reference_ps" "$reference_pdf" "${ids[@]}"

for reference in "office-reference-$reference_ps" "mfp-reference-$reference_pdf"; do
  check_eq "state of reference job $reference" completed "${CUPS_JOB_STATE[${reference##*-}]:-}"
  printed_pages "$CUPS_OUT/$reference.prn" "$work/$reference.pages"
done

# check_job INDEX: the checks of one job of the table.
check_job() {
  local i=$1
  local name=${names[$i]} id=${ids[$i]} out
  check_eq "$name: job state" completed "${CUPS_JOB_STATE[$id]:-}" || return
  out=$(captured "${queues[$i]}" "$id")
  check_spliced "$name" "$out" "$CUPS_OUT/${references[$i]}.prn" "$work/snippet-$id" || return

  printer_report "$out"
  check_stamps "$name" "${earliest[$i]}" "$(minute_in "${zones[$i]}")"
  check_eq "$name: what the printer received" "${reports[$i]}" "$REPORT"

  printed_pages "$out" "$work/pages-$id"
  cmp -s "$work/${references[$i]}.pages" "$work/pages-$id" ||
    check_fail "$name: plain Ghostscript prints other pages than from the job without the snippet"
}
check_each check_job "${!ids[@]}"

checks_done
