#!/usr/bin/env bash
# Checks scripts/lab.sh itself: two labs at once, a failing, an interrupted and
# a timed-out command, a simulator that cannot start, a stale lab of a killed
# run; after each, none of its namespaces and no simulator may be left.
# Usage: lab_script_test.sh LAB_SH DEVSIM
set -uo pipefail
lab_sh=$1 devsim=$2

if [[ $(id -u) -ne 0 ]]; then
  echo "needs root for network namespaces (skipped)"
  exit 77
fi

prefix="labt$$"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
our_namespaces() { ip netns list | awk '{print $1}' | grep "^$prefix-"; }
nothing_left() {
  local f cmd
  if [[ -n $(our_namespaces) ]]; then
    echo "left behind: $(our_namespaces | tr '\n' ' ')"
    return 1
  fi
  # A simulator's command line names its log, which lies in a directory named
  # after the run.
  for f in /proc/[0-9]*/cmdline; do
    cmd=$(tr '\0' ' ' 2>/dev/null <"$f") || continue
    if [[ $cmd == *orvane-devsim*"/$prefix-"* ]]; then
      echo "still running: $cmd"
      return 1
    fi
  done
  return 0
}
status_is() { [[ $1 -eq $2 ]] || { echo "exit status $1, wanted $2"; return 1; }; }
# Background jobs of a script start with SIGINT ignored; env undoes that so
# the interrupt case sees what a terminal would send.
# An array, not a function: "${lab[@]}" ... & must make lab.sh itself the
# background job, so that $! is the PID that the signals below reach.
lab=(env --default-signal=INT "$lab_sh" --prefix "$prefix" --devsim "$devsim")

check "no namespace of this prefix before" nothing_left

# Two labs at once: each runs in its own PC namespace and finds its simulators.
probe='[ "$(ip netns identify $$)" = "$LAB_PC_NS" ] && grep -q " READY " $LAB_DEV_LOGS &&
       echo "$LAB_RUN_ID" > "$OUT"'
OUT=$work/one "${lab[@]}" -- sh -c "$probe" 2>/dev/null &
first=$!
OUT=$work/two "${lab[@]}" -- sh -c "$probe" 2>/dev/null &
second=$!
wait "$first"
status_one=$?
wait "$second"
status_two=$?
check "first of two parallel labs succeeds" status_is "$status_one" 0
check "second of two parallel labs succeeds" status_is "$status_two" 0
check "parallel labs have different names" \
  test -s "$work/one" -a -s "$work/two" -a "$(cat "$work/one" 2>/dev/null)" != "$(cat "$work/two" 2>/dev/null)"
check "nothing left after the parallel labs" nothing_left

# The command's failure is the lab's exit status.
"${lab[@]}" -- sh -c 'exit 3' 2>/dev/null
check "a failing command's status passes through" status_is $? 3
check "nothing left after a failing command" nothing_left

# Interrupted while the command runs: SIGTERM and SIGINT.
for signal in TERM INT; do
  marker=$work/started-$signal
  MARKER=$marker "${lab[@]}" -- sh -c 'echo $$ > "$MARKER"; exec sleep 60' 2>/dev/null &
  lab_pid=$!
  for _ in $(seq 100); do [[ -s $marker ]] && break; sleep 0.05; done
  kill -"$signal" "$lab_pid"
  wait "$lab_pid"
  status=$?
  want=$([[ $signal == TERM ]] && echo 143 || echo 130)
  check "SIGTERM/SIGINT ends the lab ($signal)" status_is "$status" "$want"
  check "the command is stopped too ($signal)" bash -c "! kill -0 $(cat "$marker" 2>/dev/null || echo 0) 2>/dev/null"
  check "nothing left after SIG$signal" nothing_left
done

# --timeout stops a command that hangs.
start=$SECONDS
"${lab[@]}" --timeout 1 -- sleep 30 2>/dev/null
status=$?
check "--timeout gives 124" status_is "$status" 124
check "--timeout acts in time" test $((SECONDS - start)) -lt 10
check "nothing left after a timeout" nothing_left

# A simulator that refuses its options fails the lab before the command runs.
"${lab[@]}" --device a 192.168.50.20/24 --id too-short -- touch "$work/ran" 2>/dev/null
check "a broken simulator fails the lab" status_is $? 1
check "the command did not run" test ! -e "$work/ran"
check "nothing left after a broken simulator" nothing_left

# A device without simulator, and the command as another user.
"${lab[@]}" --as nobody --device x 192.168.50.99/24 --no-sim -- sh -c \
  '[ "$(id -u)" = "$(id -u nobody)" ] && [ -z "$LAB_DEV_X_LOG" ] &&
   [ "$LAB_DEV_X_ADDR" = 192.168.50.99 ] && [ "$LAB_DEVICES" = x ]' 2>/dev/null
check "--no-sim and --as" status_is $? 0
check "nothing left after --no-sim" nothing_left

# Loss: where nothing listens the kernel counts arrivals as NoPorts; a
# datagram to port 9 follows each as a marker. (Identities as hardware
# addresses are what lab.wizard_real_lan's ping-dropping NAS stands on.)
cat >"$work/loss.sh" <<'EOF'
source "$CHECKS"
noports() { ip netns exec "$1" awk '/^Udp:/ && n++ {print $3}' /proc/net/snmp; }
arrive() {  # FROM_NS TO_NS ADDR PORT COUNT: COUNT (0 or 1) reach PORT, then the marker
  local before
  before=$(noports "$2")
  ip netns exec "$1" bash -c "echo >/dev/udp/$3/$4; echo >/dev/udp/$3/9"
  for _ in $(seq 50); do (($(noports "$2") - before > $5)) && break; sleep 0.1; done
  sleep 0.2
  (($(noports "$2") - before == $5 + 1))
}
check "--drop-replies 100" arrive "$LAB_DEV_C_NS" "$LAB_PC_NS" "$LAB_PC_ADDR" 12310 0
check "--drop-requests 100" arrive "$LAB_PC_NS" "$LAB_DEV_B_NS" "$LAB_DEV_B_ADDR" 12311 0
check "--drop-requests 0" arrive "$LAB_PC_NS" "$LAB_DEV_C_NS" "$LAB_DEV_C_ADDR" 12311 1
exit "$failures"
EOF
CHECKS=$(dirname "${BASH_SOURCE[0]}")/checks.sh "${lab[@]}" --drop-replies 100 \
  --device b 192.168.50.21/24 --no-sim --drop-requests 100 \
  --device c 192.168.50.22/24 --no-sim --drop-requests 0 \
  -- bash "$work/loss.sh" 2>/dev/null
check "loss" status_is $? 0
"${lab[@]}" --device a 192.168.50.20/24 --drop-requests 101 -- true 2>/dev/null
check "--drop-requests 101 is refused" status_is $? 1

# A lab whose lab.sh was killed outright is deleted by the next run.
sh -c 'exit 0' &
dead_pid=$!
wait "$dead_pid"
stale="$prefix-$dead_pid-beef-pc"
ip netns add "$stale"
"${lab[@]}" -- true 2>/dev/null
check "a lab runs beside a stale one" status_is $? 0
check "the stale lab is deleted" nothing_left
ip netns del "$stale" 2>/dev/null

# Without root the lab refuses with the skip status.
setpriv --reuid=65534 --regid=65534 --clear-groups "$lab_sh" -- true 2>/dev/null
check "without root: exit 77" status_is $? 77

echo "$failures failure(s)"
((failures == 0))
