#!/usr/bin/env bash
# The pane feeds the filter: for each job of pane-jobs.sh, the options line of
# the committed pane (pdehost in the client's zone) is joblogfilter's options
# argument for the sample job, as the printing system would pass it, with the
# filter in another zone (New York). The filter must put its snippet in front
# of the job's first %%BeginProlog line and change nothing else, and a printer
# of this line (Ghostscript with the test prelude) must receive exactly the
# values typed into the pane, stamped with the client's wall clock.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/pane-jobs.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/joblog-pane-filter.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

marker_line=$(grep -n -m 1 '^%%BeginProlog' "$SAMPLE_PS" | cut -d: -f1)

# check_job I: the checks of job I of the table.
check_job() {
  local i=$1 name=${JOB_NAMES[$1]} zone=${JOB_ZONES[$1]} out=$work/job-$1.ps status earliest
  earliest=$(minute_in "$zone")
  pane_options "${JOB_MODELS[$i]}" "$zone" "${JOB_SCRIPTS[$i]}" || return

  env TZ=America/New_York "$JOBLOG_FILTER" 42 alice "Quarterly report" 1 "$PANE_OPTIONS" "$SAMPLE_PS" \
    > "$out" 2> "$work/stderr"
  status=$?
  check_eq "$name: filter exit status and standard error" "0 " "$status $(cat "$work/stderr")" || return

  # Before the marker the sample's lines, then the snippet; from the marker
  # on the sample, byte for byte.
  local out_marker
  out_marker=$(grep -a -n -m 1 '^%%BeginProlog' "$out" | cut -d: -f1)
  if [ -z "$out_marker" ] ||
    ! cmp -s <(head -n $((marker_line - 1)) "$SAMPLE_PS") <(head -n $((marker_line - 1)) "$out") ||
    ! cmp -s <(tail -n +"$marker_line" "$SAMPLE_PS") <(tail -n +"$out_marker" "$out") ||
    [ "$out_marker" -le "$marker_line" ]; then
    check_fail "$name: the job is not the sample with a snippet in front of its first %%BeginProlog:"$'\n'"$(diff "$SAMPLE_PS" "$out" | head -n 40)"
  fi

  printer_report "$out"
  check_stamps "$name" "$earliest" "$(minute_in "$zone")"
  check_eq "$name: what the printer received (options: $PANE_OPTIONS)" "${JOB_REPORTS[$i]}" "$REPORT"
}

for i in "${!JOB_NAMES[@]}"; do
  check_job "$i"
done

checks_done
echo "all ${#JOB_NAMES[@]} jobs: the printer received what was typed into the pane"
