#!/usr/bin/env bash
# The per-frame GL cost of the real saver, counted in an apitrace trace of a
# ~24 s run under the current X display (of the saver built with the swap
# reporter, whose marker in the trace ends each frame, whichever GL library
# the windowing library swaps through): every frame makes exactly ten
# indexed draws, three program switches and eleven uniform calls; buffers
# are written whole by the set-up (first frame) and, in the frame of each
# respawn pass, before its drawing, by exactly the slots that pass filled:
# each batch's vertex bytes of those slots (neighbours merged into one
# write) and index bytes only of slots filled for the first time. The
# passes (at 5, 9, 13, 17 and 21 s of library time) are replayed from the
# frames' times: the set-up's snowflakes die at 20 s, so the 21 s pass
# refills slots, whose indices are not sent again. With WINDOWS (default 1)
# the run must draw in that many windows, one per monitor, each frame of
# each the same ten draws; the set-up and every pass then write the same
# slots of nine more batches per further window.
#   frame_calls.sh PATH/TO/swap_reporter [WINDOWS]
set -uo pipefail
exe=$1
windows=${2:-1}
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

apitrace trace -o "$work/saver.trace" "$exe" /s >"$work/saver.log" 2>&1 &
saver=$!
sleep 24
xdotool key Escape >/dev/null 2>&1
for _ in $(seq 100); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$saver" 2>/dev/null; then
  echo "the saver did not end on Escape" >&2
  kill "$saver"; exit 1
fi
wait "$saver" || { echo "the saver exited with $?" >&2; cat "$work/saver.log" >&2; exit 1; }

apitrace dump --color=never "$work/saver.trace" >"$work/calls.txt" || exit 1

# Calls after the last swap are ignored; "// fake" lines are apitrace's own
# additions for replay, and the swaps before the first drawn frame are the
# windowing library's initial clear.
/usr/bin/python3 - "$work/calls.txt" "$windows" <<'PY'
import re
import sys

SLOTS = [5] * 8 + [200]          # particle slots of batches 0..8
LIMITS = [1] * 8 + [20]          # particles one respawn pass may place
LIFETIMES = [20.0] * 8 + [30.0]  # seconds
SETUP = [2] * 8 + [50]           # particles placed by the set-up, at time 0

WINDOWS = int(sys.argv[2])
call = re.compile(r'^\d+ (gl[A-Za-z0-9]*)\((.*)\)')
frames = []
frame = dict(draws=0, programs=0, uniforms=0, data=[], sub=[], early=0, time=None)
bound = {}
drawn = False
for line in open(sys.argv[1]):
    if '// fake' in line:
        continue
    m = call.match(line)
    if not m:
        continue
    name, args = m.group(1), m.group(2)
    field = dict(re.findall(r'(\w+) = ([^,]+)', args))
    if name == 'glBindBuffer':
        bound[field['target']] = int(field['buffer'])
    elif name == 'glDrawElements':
        frame['draws'] += 1
    elif name == 'glUseProgram':
        frame['programs'] += 1
    elif name.startswith('glUniform'):
        frame['uniforms'] += 1
        if name == 'glUniform1f' and frame['time'] is None:
            frame['time'] = float(field['v0'])
    elif name == 'glBufferData':
        frame['data'].append((bound[field['target']], field['target'], int(field['size'])))
        frame['early'] += frame['draws'] == 0
    elif name == 'glBufferSubData':
        frame['sub'].append((bound[field['target']], int(field['offset']), int(field['size'])))
        frame['early'] += frame['draws'] == 0
    elif name == 'glStringMarkerGREMEDY' and 'swap ' in args:
        if frame['draws'] == 0 and not drawn:
            continue
        drawn = True
        frame['drawable'] = args.split('swap ', 1)[1]
        frames.append(frame)
        frame = dict(draws=0, programs=0, uniforms=0, data=[], sub=[], early=0, time=None)

failures = []
print(f"frames traced: {len(frames)}")
if len(frames) < 10:
    failures.append(f"too few frames: {len(frames)}")
for n, f in enumerate(frames):
    if (f['draws'], f['programs'], f['uniforms']) != (10, 3, 11):
        failures.append(f"frame {n}: {f['draws']} draws, {f['programs']} program switches, "
                        f"{f['uniforms']} uniform calls, not 10, 3, 11")
    if f['early'] != len(f['data']) + len(f['sub']):
        failures.append(f"frame {n}: a buffer write after the drawing began")

drawables = {}
for f in frames:
    drawables[f['drawable']] = drawables.get(f['drawable'], 0) + 1
if len(drawables) != WINDOWS:
    failures.append(f"frames in {len(drawables)} windows, not {WINDOWS}")
failures += [f"window {d}: only {n} frames" for d, n in drawables.items() if n < 5]

# The set-up: both arrays of the primary's nine batches and of the
# background, then of each further window's nine, whole, batch by batch
# (vertex array first).
setup = frames[0]['data'] if frames else []
if len(setup) != 20 + 18 * (WINDOWS - 1) or frames[0]['sub']:
    failures.append(f"set-up frame: {len(setup)} uploads and {len(frames[0]['sub'])} re-uploads, "
                    f"not {20 + 18 * (WINDOWS - 1)} and 0")
    print("\n".join(failures), file=sys.stderr)
    sys.exit(1)
batch_uploads = [setup[0:18]] + [setup[20 + 18 * w:38 + 18 * w] for w in range(WINDOWS - 1)]
vertex_buffer = [[b[2 * i][0] for i in range(9)] for b in batch_uploads]
index_buffer = [[b[2 * i + 1][0] for i in range(9)] for b in batch_uploads]
slot_vertex = [setup[2 * i][2] // SLOTS[i] for i in range(9)]
slot_index = [setup[2 * i + 1][2] // SLOTS[i] for i in range(9)]
whole_bytes = WINDOWS * sum(setup[k][2] for k in range(18))

# The passes replayed: expire, then fill the lowest free slots up to the limit.
finish = [[LIFETIMES[i] if p < SETUP[i] else None for p in range(SLOTS[i])] for i in range(9)]
ever = [[p < SETUP[i] for p in range(SLOTS[i])] for i in range(9)]

def merged(slots, size):
    ranges = []
    for p in sorted(slots):
        if ranges and ranges[-1][0] + ranges[-1][1] == p * size:
            ranges[-1][1] += size
        else:
            ranges.append([p * size, size])
    return [tuple(r) for r in ranges]

next_pass = 5.0
passes = refills = 0
for n, f in enumerate(frames[1:], start=1):
    expected = []
    if f['time'] is not None and f['time'] >= next_pass:
        passes += 1
        t = f['time']
        for i in range(9):
            for p in range(SLOTS[i]):
                if finish[i][p] is not None and t >= finish[i][p]:
                    finish[i][p] = None
            filled = [p for p in range(SLOTS[i]) if finish[i][p] is None][:LIMITS[i]]
            first = [p for p in filled if not ever[i][p]]
            refills += len(filled) - len(first)
            for p in filled:
                finish[i][p] = t + LIFETIMES[i]
                ever[i][p] = True
            for w in range(WINDOWS):
                expected += [(vertex_buffer[w][i], o, s) for o, s in merged(filled, slot_vertex[i])]
                expected += [(index_buffer[w][i], o, s) for o, s in merged(first, slot_index[i])]
        next_pass = t + 4.0
    if f['data']:
        failures.append(f"frame {n}: {len(f['data'])} glBufferData outside the set-up")
    if sorted(f['sub']) != sorted(expected):
        failures.append(f"frame {n} (t = {f['time']}): wrote {sorted(f['sub'])}, expected {sorted(expected)}")
    elif expected:
        sent = sum(s for _, _, s in f['sub'])
        print(f"respawn pass at {f['time']:.3f} s: {len(f['sub'])} writes, {sent} bytes "
              f"(whole arrays: {whole_bytes} bytes)")

if passes < 5:
    failures.append(f"only {passes} respawn passes traced, not the 5 up to 21 s")
if refills == 0:
    failures.append("no pass refilled a slot")
if failures:
    print("\n".join(failures), file=sys.stderr)
    sys.exit(1)
print(f"every frame of {WINDOWS} window(s): 10 draws, 3 program switches, 11 uniform calls; buffer writes only at set-up "
      "and, per respawn pass, exactly the slots it filled")
PY
