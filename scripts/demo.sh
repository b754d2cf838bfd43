#!/usr/bin/env bash
# The product's main job on the bundled sample: a Locked Print job passes
# through joblogfilter, and Ghostscript, playing a printer of this line,
# shows what the printer receives.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
filter=$build/Filter/joblogfilter
job=$root/samples/report.ps
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

options='com.zelvo.pm.JobType="Locked Print" com.zelvo.pm.UserID=alice com.zelvo.pm.Password=1234'
options+=" com.zelvo.pm.EnableUserCode..b.=True com.zelvo.pm.UserCode=4711"
# A client in Tokyo: the time stamp is its wall clock, whatever this machine's zone.
options+=" com.zelvo.pm.TimeZone=JST-9"

echo "== job options (argv[5]):"
echo "   $options"
echo
"$filter" 1 alice "Quarterly report" 1 "$options" "$job" > "$work/spliced.ps"

echo "== the job as the printer receives it, up to the document's prolog:"
sed -n '1,/^%%BeginProlog/p' "$work/spliced.ps" | sed 's/^/   /'
echo
echo "== Ghostscript as the printer:"
gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile="$work/pages.txt" \
  "$root/Tests/Ghostscript/printer-prelude.ps" "$work/spliced.ps" | sed 's/^/   /'
echo
echo "== and prints the pages:"
sed 's/^ */   /' "$work/pages.txt"
