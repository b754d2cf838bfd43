# A private CUPS scheduler for tests and the demo, sourced by bash scripts.
#
#   cups_start FILTER        start cupsd on a free loopback port, running FILTER
#                            as joblogfilter; sets CUPS_DIR, CUPS_PORT,
#                            CUPS_SERVER, CUPS_OUT (where jobs are captured)
#   cups_add_queue NAME PPD [lpadmin options]
#                            add an enabled queue printing to the capture backend
#   cups_print QUEUE FILE [lp options...]   print; echoes the job ID
#   cups_wait_jobs IDS...    wait until every job has ended; their states are
#                            then in the associative array CUPS_JOB_STATE
#   cups_job_state ID        echoes the job's IPP state: completed, processing-stopped, ...
#   cups_job_attribute ID NAME, cups_printer_attribute QUEUE NAME
#                            echo one attribute's value
#   cups_stop                stop the scheduler by its PID and remove CUPS_DIR
#
# The scheduler runs as CUPS's own test suite runs it: its own cupsd.conf and
# cups-files.conf in a directory every user may traverse, ServerBin a private
# tree of links to the system's filters and backends plus copies of our filter
# and the capture backend, written by their owner only (root, when run as
# root), as cupsd demands of anything it runs; as root it runs them as lp.
# Should the calling shell die without cups_stop, a watchdog stops cupsd.
# Set JOBLOG_KEEP_CUPS_DIR=1 to keep the directory after the run.

CUPS_HARNESS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
CUPS_SYSTEM_SERVERBIN=$(cups-config --serverbin 2>/dev/null || echo /usr/lib/cups)
CUPS_SYSTEM_DATADIR=$(cups-config --datadir 2>/dev/null || echo /usr/share/cups)
CUPS_PID=
CUPS_DIR=

# The scheduler's error log, the first place to look when anything fails:
# its errors and warnings, sanitizer reports from the filter, and the last
# things that happened to jobs.
cups_show_log() {
  local log=$CUPS_DIR/log/error_log
  [ -n "$CUPS_DIR" ] && [ -f "$log" ] || return 0
  echo "---- cupsd error_log ($log): errors, warnings, sanitizer reports" >&2
  grep -E '^[EWC] |Sanitizer|runtime error' "$log" | tail -n 60 >&2
  echo "---- cupsd error_log: the last lines about jobs" >&2
  grep '\[Job [0-9]*\]' "$log" | grep -v '^d ' | tail -n 40 >&2
  echo "----" >&2
}

cups_fail() {
  echo "FAIL: $*" >&2
  cups_show_log
  exit 1
}

cups_start() {
  local filter=$1
  [ -x "$filter" ] || cups_fail "no filter at $filter"
  command -v cupsd > /dev/null || PATH=$PATH:/usr/sbin:/sbin
  command -v cupsd > /dev/null || cups_fail "cupsd not found (Debian package cups-daemon)"
  umask 022

  CUPS_DIR=$(mktemp -d "${TMPDIR:-/tmp}/joblog-cups.XXXXXX") || cups_fail "mktemp"
  # The filters and backends run as lp and must reach what lives in here.
  chmod 0755 "$CUPS_DIR"
  mkdir -p "$CUPS_DIR"/{bin/filter,bin/backend,bin/daemon,bin/driver,ppd,spool/temp,cache,state,log,out}

  local dir program
  for dir in filter backend daemon driver; do
    for program in "$CUPS_SYSTEM_SERVERBIN/$dir"/*; do
      [ -e "$program" ] && ln -s "$program" "$CUPS_DIR/bin/$dir/"
    done
  done
  rm -f "$CUPS_DIR/bin/filter/joblogfilter"
  install -m 0755 "$filter" "$CUPS_DIR/bin/filter/joblogfilter"
  install -m 0755 "$CUPS_HARNESS_DIR/capture" "$CUPS_DIR/bin/backend/capture"

  local user group system_group
  if [ "$(id -u)" -eq 0 ]; then
    user=lp group=lp system_group=root
    # The capture backend runs as lp and writes here.
    chown lp:lp "$CUPS_DIR/out"
    if command -v setpriv > /dev/null &&
      ! setpriv --reuid=lp --regid=lp --clear-groups test -x "$CUPS_DIR/bin/filter/joblogfilter"; then
      cups_fail "user lp cannot reach $CUPS_DIR (set TMPDIR to a directory every user may traverse)"
    fi
  else
    user=$(id -un) group=$(id -gn) system_group=$(id -gn)
  fi
  CUPS_OUT=$CUPS_DIR/out

  sed -e "s|@DIR@|$CUPS_DIR|g" -e "s|@DATADIR@|$CUPS_SYSTEM_DATADIR|g" \
      -e "s|@USER@|$user|g" -e "s|@GROUP@|$group|g" -e "s|@SYSTEM_GROUP@|$system_group|g" \
      "$CUPS_HARNESS_DIR/cups-files.conf.in" > "$CUPS_DIR/cups-files.conf"

  # A random port that nothing answers on. Should another scheduler take it
  # between the check and the bind, this one logs so and goes on without a
  # port (whatever FatalErrors says): it is stopped and the next port tried.
  local attempt
  for attempt in 1 2 3 4 5 6 7 8; do
    CUPS_PORT=$((20000 + RANDOM % 40000))
    if (exec 3<> "/dev/tcp/127.0.0.1/$CUPS_PORT") 2> /dev/null; then
      continue
    fi
    sed -e "s|@PORT@|$CUPS_PORT|g" "$CUPS_HARNESS_DIR/cupsd.conf.in" > "$CUPS_DIR/cupsd.conf"
    cupsd -t -c "$CUPS_DIR/cupsd.conf" -s "$CUPS_DIR/cups-files.conf" > "$CUPS_DIR/log/config-check" 2>&1 ||
      { cat "$CUPS_DIR/log/config-check" >&2; cups_fail "cupsd rejects its configuration"; }

    export CUPS_SERVER=127.0.0.1:$CUPS_PORT
    cupsd -f -c "$CUPS_DIR/cupsd.conf" -s "$CUPS_DIR/cups-files.conf" > "$CUPS_DIR/log/cupsd.out" 2>&1 &
    CUPS_PID=$!
    cups_wait_until_ready
    case $? in
      0)
        cups_start_watchdog
        return 0
        ;;
      1)
        wait "$CUPS_PID"
        echo "cupsd exited with status $? at start:" >&2
        cat "$CUPS_DIR/log/cupsd.out" >&2
        CUPS_PID=
        cups_fail "cupsd exited at start"
        ;;
      2)
        kill -TERM "$CUPS_PID"
        wait "$CUPS_PID"
        CUPS_PID=
        mv "$CUPS_DIR/log/error_log" "$CUPS_DIR/log/error_log.port-$CUPS_PORT"
        ;;
      *) cups_fail "cupsd (pid $CUPS_PID) does not answer on $CUPS_SERVER" ;;
    esac
  done
  cups_fail "no free port for cupsd after $attempt attempts"
}

# Should the shell that started the scheduler be killed before it can stop
# it (a test timing out), the watchdog stops the scheduler.
cups_start_watchdog() {
  local shell=$$ cupsd=$CUPS_PID conf=$CUPS_DIR/cupsd.conf
  (
    while kill -0 "$shell" 2> /dev/null; do sleep 1; done
    # Only if that PID still is our cupsd.
    grep -qF "$conf" "/proc/$cupsd/cmdline" 2> /dev/null && kill -TERM "$cupsd"
  ) > /dev/null 2>&1 &
  CUPS_WATCHDOG=$!
}

# Up to 20 s for our scheduler to listen on its port and answer there.
# 0 ready, 1 exited, 2 could not have the port, 3 no answer.
cups_wait_until_ready() {
  local log=$CUPS_DIR/log/error_log i
  for ((i = 0; i < 200; i++)); do
    kill -0 "$CUPS_PID" 2> /dev/null || return 1
    grep -q "Unable to open listen socket for address 127.0.0.1:$CUPS_PORT" "$log" 2> /dev/null && return 2
    if grep -q "Listening to 127.0.0.1:$CUPS_PORT " "$log" 2> /dev/null &&
      lpstat -h "$CUPS_SERVER" -r 2> /dev/null | grep -q 'is running'; then
      return 0
    fi
    sleep 0.1
  done
  return 3
}

cups_stop() {
  if [ -n "${CUPS_WATCHDOG:-}" ]; then
    kill "$CUPS_WATCHDOG" 2> /dev/null
    wait "$CUPS_WATCHDOG" 2> /dev/null
    CUPS_WATCHDOG=
  fi
  if [ -n "$CUPS_PID" ]; then
    kill -TERM "$CUPS_PID" 2> /dev/null
    local i
    for ((i = 0; i < 100; i++)); do
      kill -0 "$CUPS_PID" 2> /dev/null || break
      sleep 0.1
    done
    kill -KILL "$CUPS_PID" 2> /dev/null
    wait "$CUPS_PID" 2> /dev/null
    CUPS_PID=
  fi
  if [ -n "$CUPS_DIR" ] && [ -z "${JOBLOG_KEEP_CUPS_DIR:-}" ]; then
    rm -rf "$CUPS_DIR"
  elif [ -n "$CUPS_DIR" ]; then
    echo "cups harness: kept $CUPS_DIR" >&2
  fi
  CUPS_DIR=
}

# A job that fails in the backend aborts rather than stopping the queue,
# unless the caller asks for another printer-error-policy. (A failing filter
# only ever stops its own job.)
cups_add_queue() {
  local name=$1 ppd=$2
  shift 2
  [ $# -gt 0 ] || set -- -o printer-error-policy=abort-job
  # lpadmin warns that PPDs are deprecated on every call; that is not news.
  lpadmin -h "$CUPS_SERVER" -p "$name" -E -v "capture:$CUPS_OUT" -P "$ppd" "$@" 2>&1 |
    grep -v 'Printer drivers are deprecated' >&2
  [ "${PIPESTATUS[0]}" -eq 0 ] || cups_fail "lpadmin cannot add queue $name with $ppd"
}

# Prints FILE on QUEUE with the given lp arguments; echoes the job ID.
cups_print() {
  local queue=$1 file=$2
  shift 2
  local answer
  answer=$(lp -h "$CUPS_SERVER" -d "$queue" "$@" "$file") || cups_fail "lp refused: lp -d $queue $* $file"
  # "request id is QUEUE-ID (1 file(s))"
  answer=${answer#request id is "$queue"-}
  echo "${answer%% *}"
}

# Echoes the value of one attribute of a job or a queue, as ipptool shows it.
cups_job_attribute() {
  cups_attribute "jobs/$1" job-attribute.test "$2"
}

cups_printer_attribute() {
  cups_attribute "printers/$1" printer-attribute.test "$2"
}

cups_attribute() {
  local resource=$1 request=$2 attribute=$3
  ipptool -tv -d "attribute=$attribute" "ipp://$CUPS_SERVER/$resource" \
    "$CUPS_HARNESS_DIR/$request" 2> /dev/null |
    sed -n "s/^ *$attribute ([^)]*) = //p"
}

cups_job_state() {
  cups_job_attribute "$1" job-state
}

# Echoes "ID STATE" for every job the scheduler knows, one request for all.
cups_job_states() {
  ipptool -tv "ipp://$CUPS_SERVER/" "$CUPS_HARNESS_DIR/job-states.test" 2> /dev/null |
    sed -n 's/^ *job-\(id\|state\) ([a-z]*) = //p' | paste - -
}

# Waits up to CUPS_WAIT_TIMEOUT seconds (default 60) until none of the jobs
# is pending, held or processing; leaves every job's state in CUPS_JOB_STATE.
cups_wait_jobs() {
  local deadline=$((SECONDS + ${CUPS_WAIT_TIMEOUT:-60})) id state waiting polls=0
  declare -gA CUPS_JOB_STATE
  while :; do
    CUPS_JOB_STATE=()
    while read -r id state; do
      CUPS_JOB_STATE[$id]=$state
    done < <(cups_job_states)
    waiting=
    for id in "$@"; do
      case ${CUPS_JOB_STATE[$id]:-} in
        completed | processing-stopped | aborted | canceled) ;;
        *) waiting=$id && break ;;
      esac
    done
    [ -n "$waiting" ] || return 0
    [ "$SECONDS" -lt "$deadline" ] ||
      cups_fail "job $waiting still '${CUPS_JOB_STATE[$waiting]:-unknown}' after ${CUPS_WAIT_TIMEOUT:-60} s"
    # Quick at first, for a job or two; then gentler on a machine busy printing.
    if ((polls++ < 10)); then sleep 0.1; else sleep 0.5; fi
  done
}
