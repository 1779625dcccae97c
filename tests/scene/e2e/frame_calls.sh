#!/usr/bin/env bash
# The per-frame GL cost of the real saver, counted in an apitrace trace of a
# ~7.5 s run under the current X display: every frame makes exactly ten
# indexed draws, three program switches and eleven uniform calls; buffers
# are written by the set-up (first frame) and by the frame of the respawn
# pass at 5 s of library time (which places particles in all nine batches),
# and by no other frame. With WINDOWS (default 1) the run must draw in that
# many windows, one per monitor, each frame of each the same ten draws; the
# set-up and the pass then write nine more batches per further window.
#   frame_calls.sh PATH/TO/vesperine [WINDOWS]
set -uo pipefail
exe=$1
windows=${2:-1}
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

apitrace trace -o "$work/saver.trace" "$exe" /s >"$work/saver.log" 2>&1 &
saver=$!
sleep 7.5
xdotool key Escape >/dev/null 2>&1
for _ in $(seq 100); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$saver" 2>/dev/null; then
  echo "the saver did not end on Escape" >&2
  kill "$saver"; exit 1
fi
wait "$saver" || { echo "the saver exited with $?" >&2; cat "$work/saver.log" >&2; exit 1; }

apitrace dump --color=never "$work/saver.trace" >"$work/calls.txt" || exit 1

# One line per completed frame: draws programs uniforms buffer_data buffer_sub_data
# first_write_before_first_draw(1/0) drawable. Calls after the last swap are ignored;
# "// fake" lines are apitrace's own additions for replay, and the swaps
# before the first drawn frame are the windowing library's initial clear.
awk '
  /\/\/ fake/ { next }
  /^[0-9]+ gl[A-Za-z0-9]*\(/ {
    name = $2; sub(/\(.*/, "", name)
    if (name == "glDrawElements") draws++
    else if (name == "glUseProgram") programs++
    else if (name ~ /^glUniform/) uniforms++
    else if (name == "glBufferData") { full++; if (draws == 0) early++ }
    else if (name == "glBufferSubData") { partial++; if (draws == 0) early++ }
    else if (name == "glXSwapBuffers") {
      if (draws == 0 && !drawn) next
      drawn = 1
      drawable = $0; sub(/.*drawable = /, "", drawable); sub(/[,)].*/, "", drawable)
      print draws + 0, programs + 0, uniforms + 0, full + 0, partial + 0, (full + partial == early) ? 1 : 0, drawable
      draws = programs = uniforms = full = partial = early = 0
    }
  }' "$work/calls.txt" >"$work/frames.txt"

frames=$(wc -l <"$work/frames.txt")
echo "frames traced: $frames"
fail=0
[ "$frames" -ge 10 ] || { echo "too few frames: $frames" >&2; fail=1; }
awk -v fail=0 -v windows="$windows" '
  {
    n = NR - 1
    frames_of[$7]++
    if ($1 != 10) { printf "frame %d: %d draws, not 10\n", n, $1; fail = 1 }
    if ($2 != 3) { printf "frame %d: %d program switches, not 3\n", n, $2; fail = 1 }
    if ($3 != 11) { printf "frame %d: %d uniform calls, not 11\n", n, $3; fail = 1 }
    if (n == 0) {
      setup = 20 + 18 * (windows - 1)
      if ($4 != setup || $5 != 0) { printf "set-up frame: %d buffer uploads and %d re-uploads, not %d and 0\n", $4, $5, setup; fail = 1 }
    } else if ($4 + $5 > 0) {
      respawns++
      if ($4 != 0) { printf "frame %d: %d glBufferData outside the set-up\n", n, $4; fail = 1 }
      if ($5 != 18 * windows) { printf "frame %d: %d re-uploads, not %d (both arrays of nine batches per window)\n", n, $5, 18 * windows; fail = 1 }
      if ($6 != 1) { printf "frame %d: a re-upload after the drawing began\n", n; fail = 1 }
    }
  }
  END {
    for (d in frames_of) {
      drawables++
      if (frames_of[d] < 5) { printf "window %s: only %d frames\n", d, frames_of[d]; fail = 1 }
    }
    if (drawables != windows) { printf "frames in %d windows, not %d\n", drawables, windows; fail = 1 }
    if (respawns != 1) { printf "%d frames wrote buffers after the set-up, not exactly the one of the 5 s pass\n", respawns; fail = 1 }
    exit fail
  }' "$work/frames.txt" >&2 || fail=1
[ $fail -eq 0 ] && echo "every frame of $windows window(s): 10 draws, 3 program switches, 11 uniform calls; buffer writes only at set-up and after the respawn pass"
exit $fail
