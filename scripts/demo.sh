#!/usr/bin/env bash
# The product's whole story, on the bundled sample. A private CUPS scheduler
# has a Zelvo MF 6200 PS queue. A user in Tokyo opens the print dialog for it:
# pdehost plays the print dialog and loads the Job Log dialog extension, and
# the user sets up a Locked Print job (user ID, a 6-digit password, user code).
# The pane's controls and summary are shown, the dialog commits, and the print
# settings go to lp as job options. CUPS runs its own filters and then
# joblogfilter; a capture backend keeps what the printer would receive, and
# Ghostscript, playing a printer of this line, shows what it makes of it. The
# scheduler is stopped at the end.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
pdehost=$build/Host/pdehost
bundle=$build/Plugin/JobLogPDE.plugin
filter=$build/Filter/joblogfilter
ppd=$root/Filter/PPD/zelvo-mf6200ps.ppd
job=$root/samples/report.ps
client_zone=Asia/Tokyo

for needed in "$pdehost" "$filter" "$bundle/Contents/Info.plist"; do
  [ -e "$needed" ] || { echo "demo: $needed is missing; build first (make release)" >&2; exit 1; }
done

source "$root/Tests/Cups/cups-harness.sh"
trap cups_stop EXIT

step() {
  echo
  echo "== $*"
}

indent() {
  sed 's/^/   /'
}

# ---------------------------------------------------------------------------
step "1. A private CUPS scheduler with a Zelvo MF 6200 PS queue"
cups_start "$filter"
cups_add_queue mfp "$ppd"
model=$(cups_printer_attribute mfp printer-make-and-model)
echo "   cupsd on $CUPS_SERVER (pid $CUPS_PID), its own configuration in $CUPS_DIR"
echo "   lpadmin -p mfp -E -v capture:... -P Filter/PPD/zelvo-mf6200ps.ppd"
echo "   the queue's make and model, by which the print dialog picks its extensions: \"$model\""

# ---------------------------------------------------------------------------
step "2. The user sets up the job in the print dialog's Job Log pane"
echo "   pdehost plays the print dialog, in the client's zone (TZ=$client_zone). What the user"
echo "   does, line by line (pdehost>), and what the dialog answers below each line:"
echo
script="\
# The printing system loads the dialog extension and opens the dialog for the queue's printer.
bundle \"$bundle\"
printer \"$model\"
open
# The user picks Locked Print and types a user ID and a password of 6 digits
# (this printer takes 4 to 8; a letter typed into the password is refused).
jobtype 3
type 1 alice
type 3 24681x0
# Then turns the user code on and types it.
usercode on
type 5 4711
# What the pane shows now (the password as dots), and the dialog's summary.
show
summary
# The user clicks Print: the dialog commits the pane's settings to the print settings,
# which the printing system turns into CUPS job options.
commit
options
terminate"

answer=$(TZ=$client_zone "$pdehost" <<< "$script")
status=$?
# Each command's answer under it: a command answers with one line of its own
# name, followed by its "control", "pair" and "alert" lines.
awk -v answer="$answer" '
  BEGIN { n = split(answer, lines, "\n"); next_line = 1 }
  /^#/ { print "   " $0; next }
  /^[[:space:]]*$/ { next }
  {
    print "   pdehost> " $0
    if (next_line <= n) print "            " lines[next_line++]
    while (next_line <= n && lines[next_line] ~ /^(control|pair|alert) /) print "            " lines[next_line++]
  }
  END { while (next_line <= n) print "            " lines[next_line++] }
' <<< "$script"
[ "$status" -eq 0 ] || cups_fail "pdehost exited with status $status"
options=$(sed -n 's/^options //p' <<< "$answer")
grep -qx 'commit result=0 alerts=0' <<< "$answer" && [ -n "$options" ] ||
  cups_fail "the pane did not commit its settings"

# ---------------------------------------------------------------------------
step "3. The job goes to the queue with the pane's options"
echo "   lp -d mfp -o '$options' samples/report.ps"
id=$(cups_print mfp "$job" -o "$options") || exit 1
cups_wait_jobs "$id"
state=$(cups_job_state "$id")
echo "   job mfp-$id: $state"
[ "$state" = completed ] || cups_fail "job mfp-$id did not complete"
printed=$CUPS_OUT/mfp-$id.prn
echo
echo "   The options cupsd handed its filters, joblogfilter among them (argv[5]):"
fold -w 90 -s "$CUPS_OUT/mfp-$id.options" | indent

# ---------------------------------------------------------------------------
step "4. What the printer receives, up to the document's prolog"
echo "   (CUPS's filters made the job; joblogfilter put the job-control snippet in front of %%BeginProlog)"
sed -n '1,/^%%BeginProlog/p' "$printed" | indent

# ---------------------------------------------------------------------------
step "5. Ghostscript as the printer"
echo "   The job-control requests it received (the time stamp is the client's wall clock in Tokyo,"
echo "   now $(TZ=$client_zone date '+%Y%m%d%H%M'); this machine's clock, which ran the filter, says $(date '+%Y%m%d%H%M %Z')):"
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile="$CUPS_DIR/pages.txt" \
  "$root/Tests/Ghostscript/printer-prelude.ps" "$printed" | indent
echo
echo "   and the pages it prints:"
sed 's/^ */   /' "$CUPS_DIR/pages.txt"

# ---------------------------------------------------------------------------
step "6. Stopping the private cupsd"
cups_stop
echo "   stopped; its directory is removed"
