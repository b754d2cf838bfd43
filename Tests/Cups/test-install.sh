#!/usr/bin/env bash
# make install, into a scratch root: the filter lands in CUPS's filter
# directory owned by root with mode 0755, the PPDs under /usr/share/ppd/zelvo,
# and cupstestppd passes each installed PPD with the installed filter.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${JOBLOG_BUILD:?the build tree to install from}"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=$((failed + 1))
}

root=$(mktemp -d "${TMPDIR:-/tmp}/joblog-install.XXXXXX") || exit 1
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$JOBLOG_BUILD" > "$root.log" 2>&1 ||
  { cat "$root.log" >&2; rm -f "$root.log"; exit 1; }
rm -f "$root.log"

serverbin=$(cups-config --serverbin 2>/dev/null || echo /usr/lib/cups)
filter=$root$serverbin/filter/joblogfilter
if [ ! -f "$filter" ]; then
  fail "no filter at $serverbin/filter/joblogfilter"
else
  mode=$(stat -c %a "$filter")
  [ "$mode" = 755 ] || fail "filter mode $mode, not 755"
  if [ "$(id -u)" -eq 0 ]; then
    [ "$(stat -c %u "$filter")" = 0 ] || fail "filter not owned by root"
  fi
fi

for model in lp4100ps mf6200ps; do
  ppd=$root/usr/share/ppd/zelvo/zelvo-$model.ppd
  if [ ! -f "$ppd" ]; then
    fail "no PPD at /usr/share/ppd/zelvo/zelvo-$model.ppd"
    continue
  fi
  cmp -s "$ppd" "$here/../../Filter/PPD/zelvo-$model.ppd" || fail "installed zelvo-$model.ppd differs from the source"
  mode=$(stat -c %a "$ppd")
  [ "$mode" = 644 ] || fail "zelvo-$model.ppd mode $mode, not 644"
  # Every rule as an error, and the cupsFilter2 program looked up (and its
  # permissions checked) in the installed tree.
  result=$(cupstestppd -W none -R "$root" -v "$ppd" 2>&1) ||
    fail "cupstestppd rejects zelvo-$model.ppd:"$'\n'"$result"
  if grep -q 'WARN' <<< "$result"; then
    fail "cupstestppd warns about zelvo-$model.ppd:"$'\n'"$result"
  fi
done

if [ "$failed" -ne 0 ]; then
  echo "$failed check(s) failed" >&2
  exit 1
fi
echo "all checks passed"
