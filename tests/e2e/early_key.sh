#!/usr/bin/env bash
# No key lost once the saver listens: CYCLES full-screen runs of the saver,
# each sent one key (xdotool) at a random moment 0.05 to 3 s after it
# started, before its window exists as well as after; every run must end
# with exit code 0 on that single key. Each run has a fresh small Xvfb to
# itself, one that resets when its last client leaves, as X servers do by
# default. A key cannot be heard before the saver has told the server that
# it listens: it does so on its first connection and waits for the answer
# before it opens a second one (for the screen-saver settings, the windowing
# library), so a key planned earlier waits until the process holds two
# connections (read from /proc, nothing the saver writes). LANES runs go at a time. Prints one line per lost key
# or bad exit, then the counts. For measuring, LATEST (ms, default 3000)
# bounds the moments, and "at-moment" sends every key at its moment, even
# before the saver listens: the counts then tell those keys apart.
#   early_key.sh VESPERINE [CYCLES] [LANES] [LATEST] [at-moment]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
saver_exe=$1
cycles=${2:-200}
lanes=${3:-4}
latest=${4:-3000}
sending=${5:-when-listening}
. "$root/tests/support/wait_exit.sh"
. "$root/tests/support/x_connections.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# fresh_xvfb: starts an Xvfb on a display number it picks itself (no race
# with other servers starting now), exports DISPLAY and sets $xvfb; the
# number arrives once it accepts connections.
fresh_xvfb() {
  local fifo number
  fifo=$(mktemp -u "$work/fd.XXXXXX")
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 320x240x24 +extension GLX -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 60 number <"$fifo"
  rm -f "$fifo"
  [ -n "$number" ] && export DISPLAY=":$number"
}

# lane SEED COUNT: COUNT cycles; one line per cycle: "delay-in-ms outcome
# moment". Outcome: the exit code (124: the key was lost, still running),
# "gone" (the saver ended before the key), "deaf" (it never opened its
# second connection), "unsent" (xdotool failed), "noserver". Moment:
# "early" when the saver did not listen yet at the planned moment (the key
# then waited, unless sent at its moment), else "listening".
lane() {
  RANDOM=$1
  local xvfb=
  trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null' EXIT
  for _ in $(seq "$2"); do
    local delay=$(( 50 + RANDOM % (latest - 49) )) moment=listening outcome
    fresh_xvfb || { echo "$delay noserver -"; continue; }
    "$saver_exe" /s >/dev/null 2>&1 &
    local saver=$!
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    [ "$(x_connections "$saver")" -ge 2 ] || moment=early
    if [ "$sending" != at-moment ] && ! wait_x_connections "$saver" 2 15; then
      outcome=gone
      kill -KILL "$saver" 2>/dev/null && outcome=deaf
    elif ! xdotool key a; then
      outcome=unsent
      kill -KILL "$saver" 2>/dev/null
    else
      wait_exit "$saver" 15
      outcome=$?
      [ "$outcome" = 124 ] && kill -KILL "$saver" 2>/dev/null
    fi
    wait "$saver" 2>/dev/null
    kill "$xvfb" && wait "$xvfb"
    xvfb=
    echo "$delay $outcome $moment"
  done
}

start=$(date +%s)
lane_pids=()
for n in $(seq "$lanes"); do
  lane $(( n * 7919 + $$ )) $(( (cycles + lanes - n) / lanes )) >"$work/lane$n" &
  lane_pids+=($!)
done
wait "${lane_pids[@]}"
cat "$work"/lane* >"$work/all"
lost=$(awk '$2 == 124' "$work/all" | wc -l)
bad=$(awk '$2 != 124 && $2 != 0' "$work/all" | wc -l)
awk 'BEGIN { says[124] = "lost, still running"; says["gone"] = "ended before the key"
             says["deaf"] = "never listened"; says["unsent"] = "xdotool failed"; says["noserver"] = "no Xvfb" }
     $2 != 0 { print "key at " $1 " ms: " ($2 in says ? says[$2] : "exit code " $2) }' "$work/all"
early=$(awk '$3 == "early"' "$work/all" | wc -l)
lost_early=$(awk '$3 == "early" && $2 == 124' "$work/all" | wc -l)
echo "$(wc -l <"$work/all") runs in $(( $(date +%s) - start )) s: $lost keys lost, $bad other outcomes;" \
  "$early keys planned before the saver listened ($lost_early of them lost)"
[ "$(wc -l <"$work/all")" = "$cycles" ] && [ "$lost" = 0 ] && [ "$bad" = 0 ]
