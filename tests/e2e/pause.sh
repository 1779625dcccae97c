#!/usr/bin/env bash
# A pause is not an empty screen. The saver, full screen on a small private
# Xvfb, is stopped with SIGSTOP for PAUSE seconds (default 7: anything past
# the 5 s that count as a pause) and, later, its library clock leaps eight
# hours (a preloaded glfwGetTime, as after a machine's sleep). Each time the
# screen right after shows as much snow as right before: the share of pixels
# that stand out from the sky differs by at most 20 %. A key then ends the
# run with 0.
#   pause.sh VESPERINE CLOCK_JUMP_LIBRARY [PAUSE]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
saver_exe=$1
jump_library=$2
pause=${3:-7}
. "$root/scripts/lib/display.sh"
. "$root/tests/support/wait_exit.sh"
start_xvfb 320x240 || exit 1
work=$(mktemp -d)
saver=
cleanup() {
  [ -n "$saver" ] && { kill -CONT "$saver"; kill -KILL "$saver"; } 2>/dev/null
  rm -rf "$work"
  stop_xvfb
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# snow_share NAME [OLD]: per mille of the screen's pixels that stand out from
# their row's sky colour, from a screenshot saved as NAME; with OLD, from the
# first screenshot that differs from OLD's (a new frame).
snow_share() {
  for _ in $(seq 100); do
    import -window root "$work/$1.png" || return 1
    [ -z "${2:-}" ] && break
    [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" != 0 ] && break
  done
  "$root/tests/support/scene_on_screen.py" "$work/$1.png" |
    sed -n 's/.*; \([0-9]*\) pixels stand out.*/\1/p' | awk '{ printf "%.2f", $1 * 1000 / (320 * 240) }'
}

LD_PRELOAD=$jump_library "$saver_exe" /s >/dev/null 2>"$work/err" &
saver=$!
# The first snow drifts in over the first seconds: wait for a screenful.
for _ in $(seq 120); do
  sleep 0.25
  kill -0 "$saver" 2>/dev/null || fail "the saver ended: $(cat "$work/err")"
  share=$(snow_share start) && awk -v s="$share" 'BEGIN { exit !(s >= 15) }' && break
done
awk -v s="${share:-0}" 'BEGIN { exit !(s >= 15) }' || fail "no snow on the screen (${share:-0} per mille)"

# across TAG WHAT SECONDS [SIGNAL]: stops the saver for SECONDS (sending it
# SIGNAL meanwhile, noted at its next frame) and compares the screen while
# stopped, the last frame before, with the first new picture after: the
# shares of snow within 20 % of each other.
failed=0
across() {
  kill -STOP "$saver"
  local before after
  before=$(snow_share "$1-before") || fail "no screenshot"
  sleep "$3"
  [ -n "${4:-}" ] && kill "-$4" "$saver"
  kill -CONT "$saver"
  after=$(snow_share "$1-after" "$1-before") || fail "no screenshot"
  echo "$2: snow before $before per mille, after $after per mille"
  awk -v b="$before" -v a="$after" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(b >= 5 && d <= 0.2 * b) }' ||
    { echo "FAIL: $2 changed the amount of snow" >&2; failed=1; }
}
across stop "a $pause s stop" "$pause"
across leap "an eight-hour clock leap" 0 USR2

xdotool key a
wait_exit "$saver" 20
status=$?
saver=
[ $status = 0 ] || fail "a key ended it with $status (124: still running)"
exit $failed
