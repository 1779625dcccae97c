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

size=$(identify -format '%w %h' "$work/shot.png")
convert "$work/shot.png" -depth 8 "rgb:$work/shot.rgb" || exit 1
/usr/bin/python3 - "$work/shot.rgb" $size <<'PY'
import sys
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = open(path, 'rb').read()
standing_out = 0
rows_with_particles = 0
for y in range(height):
    row = data[y * width * 3:(y + 1) * width * 3]
    pixels = [row[x * 3:x * 3 + 3] for x in range(width)]
    usual = [sorted(p[c] for p in pixels)[width // 2] for c in range(3)]
    count = sum(1 for p in pixels if max(abs(p[c] - usual[c]) for c in range(3)) > 24)
    standing_out += count
    rows_with_particles += count > 0
print(f"pixels standing out at 34 s: {standing_out} in {rows_with_particles} rows")
if standing_out < 200 or rows_with_particles < 10:
    print("too few particles on screen after the first generation died", file=sys.stderr)
    sys.exit(1)
PY
