#!/usr/bin/env bash
# The filter's speed and memory on a ~1 GiB PostScript-like job, against cat
# and sed doing the same pass. Run by hand: make bench (not part of CI).
#
#   bench/run.sh [BUILD_DIR]     BUILD_DIR defaults to build/release
#   RUNS=5 bench/run.sh          runs per command (the median is shown)
#   SIZE_MIB=1024 bench/run.sh   job size
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
filter=$(cd "$build" && pwd)/Filter/joblogfilter
runs=${RUNS:-5}
size_mib=${SIZE_MIB:-1024}
data=${BENCH_DATA:-$here/data}
options='com.zelvo.pm.JobType="Locked Print" com.zelvo.pm.UserID=alice com.zelvo.pm.Password=1234'

[ -x "$filter" ] || { echo "no filter at $filter; run make release first" >&2; exit 1; }
mkdir -p "$data"

# Jobs of 80-byte lines: a header whose 8th line is the marker (or, in the
# second job, an ordinary comment), then the body.
make_job() { # NAME MARKER_LINE SIZE_MIB
  local job=$data/$1
  [ -f "$job" ] && [ "$(stat -c %s "$job")" -ge $(( $3 * 1048576 )) ] && return
  {
    printf '%%!PS-Adobe-3.0                                                                 \n'
    for i in 2 3 4 5 6 7; do
      printf '%%%%Comment: header line %d, padded to eighty bytes                            \n' "$i"
    done
    printf '%-79s\n' "$2"
    head -c $(( $3 * 1048576 )) < <(yes '0 0 moveto (a line of page text, padded to eighty bytes) show 72 72 lineto stroke')
  } > "$job"
}
echo "generating jobs in $data ..."
make_job marker.ps '%%BeginProlog' "$size_mib"
make_job nomarker.ps '%%Comment: no prolog here' "$size_mib"
make_job small.ps '%%BeginProlog' 1

# Median wall time of a shell command over $runs runs.
median_seconds() {
  local times=()
  for _ in $(seq "$runs"); do
    times+=("$( { /usr/bin/time -f %e sh -c "$1" >/dev/null; } 2>&1 | tail -n 1)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

peak_rss_kib() { # JOB
  { /usr/bin/time -f %M "$filter" 1 user title 1 "$options" "$1" >/dev/null; } 2>&1 | tail -n 1
}

printf '\n%-11s %-48s %8s %12s\n' job command seconds 'vs cat|cat'
for job in marker.ps nomarker.ps; do
  path=$data/$job
  cat_time=$(median_seconds "cat '$path' | cat >/dev/null")
  filter_time=$(median_seconds "'$filter' 1 user title 1 '$options' '$path' | cat >/dev/null")
  sed_time=$(median_seconds "sed '/^%%BeginProlog/i X' '$path' | cat >/dev/null")
  for row in "cat job | cat:$cat_time" "joblogfilter ... job | cat:$filter_time" "sed '/^%%BeginProlog/i X' job | cat:$sed_time"; do
    name=${row%:*}; t=${row##*:}
    printf '%-11s %-48s %8s %12s\n' "$job" "$name" "$t" "$(awk -v a="$t" -v b="$cat_time" 'BEGIN { printf "%.2f", a / b }')"
  done
  awk -v s="$sed_time" -v f="$filter_time" -v j="$job" 'BEGIN { printf "%-11s joblogfilter is %.1f times faster than sed\n", j, s / f }'
done

printf '\npeak RSS of joblogfilter: 1 MiB job %s KiB, %s MiB job %s KiB\n' \
  "$(peak_rss_kib "$data/small.ps")" "$size_mib" "$(peak_rss_kib "$data/marker.ps")"
printf 'for scale, a program that only links libcups: '
printf 'int main(void){return 0;}' > "$data/empty.c"
cc "$data/empty.c" -o "$data/empty-with-libcups" -Wl,--no-as-needed -lcups
{ /usr/bin/time -f '%M KiB' "$data/empty-with-libcups"; } 2>&1 | tail -n 1
