#!/usr/bin/env bash
# No key lost at start: CYCLES full-screen runs of the saver, each sent one
# key (xdotool) at a random moment 0.05 to 3 s after it started, before its
# window exists as well as after; every run must end with exit code 0 on
# that single key. LANES runs go at a time, each lane on a small Xvfb of its
# own. Prints one line per lost key or bad exit, then the count.
#   early_key.sh VESPERINE [CYCLES] [LANES]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
saver_exe=$1
cycles=${2:-200}
lanes=${3:-4}
. "$root/scripts/lib/display.sh"
. "$root/tests/support/wait_exit.sh"
work=$(mktemp -d)

# lane DISPLAY SEED COUNT: COUNT cycles on that display; one line per
# cycle: "delay-in-ms exit-code" (124: the key was lost, still running;
# "gone": the saver had ended before the key).
lane() {
  export DISPLAY=$1
  RANDOM=$2
  for _ in $(seq "$3"); do
    local delay=$(( 50 + RANDOM % 2951 ))
    "$saver_exe" /s >/dev/null 2>&1 &
    local saver=$!
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    if ! kill -0 "$saver" 2>/dev/null; then
      wait "$saver"
      echo "$delay gone"
      continue
    fi
    xdotool key a
    wait_exit "$saver" 15
    local status=$?
    [ $status = 124 ] && { kill -KILL "$saver"; wait "$saver"; } 2>/dev/null
    echo "$delay $status"
  done
}

# One Xvfb per lane, started one after another (each takes the next free
# display number); stop_xvfb stops them all.
cleanup() {
  stop_xvfb
  rm -rf "$work"
}
start=$(date +%s)
lane_pids=()
for n in $(seq "$lanes"); do
  start_xvfb 320x240 || exit 1
  trap cleanup EXIT
  lane "$DISPLAY" $(( n * 7919 + $$ )) $(( (cycles + lanes - n) / lanes )) >"$work/lane$n" &
  lane_pids+=($!)
done
wait "${lane_pids[@]}"
cat "$work"/lane* >"$work/all"
lost=$(awk '$2 == 124' "$work/all" | wc -l)
bad=$(awk '$2 != 124 && $2 != 0' "$work/all" | wc -l)
awk '$2 != 0 { print "key at " $1 " ms: " ($2 == 124 ? "lost, still running" : $2 == "gone" ? "ended before the key" : "exit code " $2) }' "$work/all"
echo "$(wc -l <"$work/all") runs in $(( $(date +%s) - start )) s: $lost keys lost, $bad other exit codes"
[ "$(wc -l <"$work/all")" = "$cycles" ] && [ "$lost" = 0 ] && [ "$bad" = 0 ]
