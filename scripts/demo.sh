#!/usr/bin/env bash
# The product's main job on the bundled sample: a private CUPS scheduler with
# a Zelvo LP 4100 PS queue prints samples/report.ps as a Locked Print job.
# CUPS runs its own filters and then joblogfilter; a capture backend keeps
# what the printer would receive, and Ghostscript, playing a printer of this
# line, shows what it makes of it. The scheduler is stopped at the end.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
job=$root/samples/report.ps

source "$root/Tests/Cups/cups-harness.sh"
trap cups_stop EXIT

cups_start "$build/Filter/joblogfilter"
cups_add_queue office "$root/Filter/PPD/zelvo-lp4100ps.ppd"
echo "== a private cupsd on $CUPS_SERVER (pid $CUPS_PID), with the queue"
echo "   lpadmin -p office -E -v capture:... -P Filter/PPD/zelvo-lp4100ps.ppd"
echo

options=(-o 'com.zelvo.pm.JobType="Locked Print"' -o com.zelvo.pm.UserID=alice -o com.zelvo.pm.Password=1234
         -o com.zelvo.pm.EnableUserCode..b.=True -o com.zelvo.pm.UserCode=4711
         -o com.zelvo.pm.TimeZone=JST-9)
echo "== printed as a Locked Print job, from a client in Tokyo (the time stamp is its wall clock):"
# Shown as one would type it: a value with blanks in quotes of its own, inside
# the shell's quotes.
shell_word() {
  if [[ $1 =~ [^A-Za-z0-9._=/-] ]]; then printf "'%s'" "$1"; else printf '%s' "$1"; fi
}
shown=
for option in "${options[@]}"; do shown+=" $(shell_word "$option")"; done
echo "   lp -d office$shown samples/report.ps"
id=$(cups_print office "$job" "${options[@]}") || exit 1
cups_wait_jobs "$id"
state=$(cups_job_state "$id")
echo "   job office-$id: $state"
echo
[ "$state" = completed ] || cups_fail "job office-$id did not complete"

printed=$CUPS_OUT/office-$id.prn
echo "== the job as the printer receives it, up to the document's prolog:"
sed -n '1,/^%%BeginProlog/p' "$printed" | sed 's/^/   /'
echo
echo "== Ghostscript as the printer:"
gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile="$CUPS_DIR/pages.txt" \
  "$root/Tests/Ghostscript/printer-prelude.ps" "$printed" | sed 's/^/   /'
echo
echo "== and prints the pages:"
sed 's/^ */   /' "$CUPS_DIR/pages.txt"
echo
echo "== stopping the private cupsd"
