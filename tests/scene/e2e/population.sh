#!/usr/bin/env bash
# The population outlives its first generation: after 34 s every particle of
# the set-up has died (snowflakes at 20 s, soft particles at 30 s), so any
# particle on screen then was placed by a respawn pass. The sky's gradient is
# the same along each row, so a particle shows as pixels that stand out from
# their row's usual colour.
#   population.sh PATH/TO/vesperine
set -uo pipefail
exe=$1
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$exe" /s >"$work/saver.log" 2>&1 &
saver=$!
sleep 34
if ! kill -0 "$saver" 2>/dev/null; then
  echo "the saver ended early" >&2; cat "$work/saver.log" >&2; exit 1
fi
import -window root "$work/shot.png" || { kill "$saver"; exit 1; }
xdotool key Escape >/dev/null 2>&1
for _ in $(seq 100); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
kill -0 "$saver" 2>/dev/null && { kill "$saver"; echo "the saver did not end on Escape" >&2; exit 1; }
wait "$saver" || { echo "the saver exited with $?" >&2; exit 1; }

"$(dirname "$0")/../../support/scene_on_screen.py" "$work/shot.png" --particles 200 10 ||
  { echo "too few particles on screen after the first generation died" >&2; exit 1; }
