# Jobs a user sets up in the Job Log pane, one of each job type, for the tests
# that feed the pane's options to joblogfilter (directly, and through a
# private cupsd); sourced by bash scripts. Also the checks they share.
#
# The tests are started by CTest with these in the environment:
#   JOBLOG_PDEHOST          the built pdehost
#   JOBLOG_PDE_BUNDLE       the bundle it loads, JobLogPDE.plugin
#   JOBLOG_FILTER           the built joblogfilter
#   JOBLOG_SOURCE           the source tree (the sample job, the PPDs, the
#                           printer prelude, the private cupsd's harness)
#
# The checks and the printer come from the tests through CUPS
# (Tests/Cups/checks.sh).

: "${JOBLOG_PDEHOST:?the built pdehost}"
: "${JOBLOG_PDE_BUNDLE:?the bundle JobLogPDE.plugin}"
: "${JOBLOG_FILTER:?the built joblogfilter}"
: "${JOBLOG_SOURCE:?the source tree}"
JOBLOG_CUPS_HARNESS=$JOBLOG_SOURCE/Tests/Cups/cups-harness.sh
source "$JOBLOG_SOURCE/Tests/Cups/checks.sh"

# ---- The jobs ----
#
# job NAME MODEL ZONE PANE-SCRIPT EXPECTED-REPORT
#   MODEL        the printer the dialog is opened for
#   ZONE         the client's time zone (TZ for pdehost)
#   PANE-SCRIPT  what the user does in the open pane before the commit
#   EXPECTED     what a printer of this line receives (Ghostscript with the
#                test prelude), every time stamp written as STAMP: exactly
#                the values typed into the pane
JOB_NAMES=() JOB_MODELS=() JOB_ZONES=() JOB_SCRIPTS=() JOB_REPORTS=()
job() {
  JOB_NAMES+=("$1") JOB_MODELS+=("$2") JOB_ZONES+=("$3") JOB_SCRIPTS+=("$4") JOB_REPORTS+=("$5")
}

LP4100="Zelvo LP 4100 PS"
MF6200="Zelvo MF 6200 PS"

job "Normal Print" "$LP4100" Asia/Tokyo "\
type 1 Ann01
usercode on
type 5 1001" "\
PRINTER setuserinfo userid=(Ann01) usercode=(1001) time=(STAMP)"

job "Sample Print" "$MF6200" Asia/Tokyo "\
jobtype 2
type 1 bob02" "\
PRINTER setuserinfo userid=(bob02) usercode=() time=(STAMP)
PRINTER proofprint userid=(bob02) time=(STAMP)"

job "Locked Print" "$LP4100" Asia/Tokyo "\
jobtype 3
type 1 carol3
type 3 3003
usercode on
type 5 30033003" "\
PRINTER setuserinfo userid=(carol3) usercode=(30033003) time=(STAMP)
PRINTER secureprint userid=(carol3) time=(STAMP) password=(3003)"

job "Paused Print" "$LP4100" Asia/Tokyo "\
jobtype 4
type 1 dave4
type 10 draft4" "\
PRINTER setuserinfo userid=(dave4) usercode=() time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(dave4) Time=(STAMP) JobID=(draft4)"

job "Saved Print" "$MF6200" Asia/Tokyo "\
jobtype 5
type 1 erin5
type 3 50055005
type 10 budget5
usercode on
type 5 55" "\
PRINTER setuserinfo userid=(erin5) usercode=(55) time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(erin5) Time=(STAMP) Password=(50055005) JobID=(budget5) Save=(1) Public=(false)"

job "Save Document Print" "$LP4100" Asia/Tokyo "\
jobtype 6
type 1 frank6
type 3 6006
type 10 plan6" "\
PRINTER setuserinfo userid=(frank6) usercode=() time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(frank6) Time=(STAMP) Password=(6006) JobID=(plan6) Save=(2) Public=(false)"

# A client half an hour off the hour: the stamp is its wall clock.
job "Document Server, client at UTC+5:30" "$MF6200" Asia/Kolkata "\
jobtype 7
type 1 grace7
type 3 707070
type 10 minutes7
usercode on
type 5 7" "\
PRINTER setuserinfo userid=(grace7) usercode=(7) time=(STAMP)
PRINTER storedprint userid=(grace7) time=(STAMP) password=(707070) filename=(minutes7)"

# The pane lets a Saved Print job go without a password; it writes the
# empty password, and the printer gets it empty. The client's zone has no
# alphabetic name (glibc calls it -03): the pane writes <-03>3.
job "Saved Print without a password, client at UTC-3" "$LP4100" America/Sao_Paulo "\
jobtype 5
type 1 heidi8
type 10 notes8" "\
PRINTER setuserinfo userid=(heidi8) usercode=() time=(STAMP)
PRINTER SetJobType JobType=(3) UserID=(heidi8) Time=(STAMP) Password=() JobID=(notes8) Save=(1) Public=(false)"

# ---- The pane ----

# pane_options MODEL ZONE PANE-SCRIPT: opens the dialog for MODEL in pdehost
# (TZ=ZONE), plays the script, commits, and sets PANE_OPTIONS to the options
# line of the print settings and PANE_OUTPUT to all the host printed. Fails
# the check unless the commit is accepted and pdehost exits 0.
pane_options() {
  local model=$1 zone=$2 script=$3 status
  PANE_SCRIPT="printer \"$model\"
open
$script
commit
options
terminate"
  PANE_OUTPUT=$(printf 'bundle "%s"\n%s\n' "$JOBLOG_PDE_BUNDLE" "$PANE_SCRIPT" |
    env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG TZ="$zone" "$JOBLOG_PDEHOST" 2>&1)
  status=$?
  PANE_OPTIONS=$(sed -n 's/^options //p' <<< "$PANE_OUTPUT")
  if [ "$status" -ne 0 ] || ! grep -qx 'commit result=0 alerts=0' <<< "$PANE_OUTPUT" || [ -z "$PANE_OPTIONS" ]; then
    check_fail "pdehost (status $status) did not commit the pane for $model:"$'\n'"$PANE_OUTPUT"
    return 1
  fi
}
