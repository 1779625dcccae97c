#!/usr/bin/env bash
# The saver on a Wayland desktop: a headless sway (as an unprivileged user:
# sway refuses root) with two outputs made by "swaymsg create_output", the
# second at scale 2. swayidle starts the saver once the seat is idle, as a
# user's swayidle line would; then each output shows the night sky and snow
# edge to edge (natively also a third output, at scale 1.5, plugged in, its
# mode changed and unplugged while the saver runs), and one key from wtype
# ends the run with exit code 0, with no line on standard error but our
# own. KIND says how the saver reaches Wayland:
# "native" (GLFW 3.4: sway runs without Xwayland, so an X11 window could not
# show) or "xwayland" (GLFW 3.3: through sway's Xwayland; X11 windows all go
# to the focused output there, so the second output is not asked for).
#   sway.sh VESPERINE native|xwayland
# Exit code 0 pass, 1 fail, 77 skipped (no sway, or not root to drop to
# another user).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
saver_exe=$1
kind=$2
user=65534

for tool in sway swaymsg swayidle grim wtype setpriv; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool (scripts/setup)"; exit 77; }
done
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root to run sway as another user"; exit 77; }
if [ "$kind" = xwayland ] && ! command -v Xwayland >/dev/null; then
  echo "SKIP: no Xwayland (scripts/setup)"; exit 77
fi

work=$(mktemp -d)
chmod 755 "$work"
chown "$user:$user" "$work"
mkdir -m 700 "$work/run"
chown "$user:$user" "$work/run"
sway_pid="" keyboard=""
cleanup() {
  [ -n "$keyboard" ] && kill "$keyboard" 2>/dev/null
  [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null && wait "$sway_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/err" ] && echo "saver's standard error: $(cat "$work/err")" >&2
  exit 1
}

# as_user COMMAND...: in the session, as the session's user.
as_user() {
  setpriv --reuid=$user --regid=$user --clear-groups env -i PATH=/usr/bin:/bin HOME="$work" \
    XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY="$wayland" SWAYSOCK="$swaysock" "$@"
}
# until SECONDS COMMAND...: until COMMAND succeeds, for at most SECONDS.
until_ok() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

xwayland=disable
[ "$kind" = xwayland ] && xwayland=enable
cat >"$work/sway.conf" <<CONF
output HEADLESS-1 resolution 640x480 position 0,0 scale 1
output HEADLESS-2 resolution 640x480 position 640,0 scale 2
output HEADLESS-3 resolution 640x480 position 1280,0 scale 1.5
xwayland $xwayland
CONF
# The saver as swayidle runs it: its exit code and standard error kept. A
# copy the session's user may run, for a checkout in a 0700 home.
cp "$saver_exe" "$work/vesperine" && chmod 755 "$work/vesperine" || fail "cannot copy the saver"
cat >"$work/saver.sh" <<SAVER
#!/bin/sh
"$work/vesperine" /s 2>>"$work/err"
echo \$? >>"$work/code"
SAVER
chmod 755 "$work/saver.sh"

wayland="" swaysock=""
setpriv --reuid=$user --regid=$user --clear-groups env -i PATH=/usr/bin:/bin HOME="$work" \
  XDG_RUNTIME_DIR="$work/run" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  WLR_HEADLESS_OUTPUTS=0 sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway_pid=$!
found_sockets() {
  wayland=$(cd "$work/run" && ls wayland-? 2>/dev/null | head -1)
  swaysock=$(ls "$work"/run/sway-ipc.*.sock 2>/dev/null | head -1)
  [ -n "$wayland" ] && [ -n "$swaysock" ]
}
until_ok 20 found_sockets || fail "sway did not start: $(tail -c 1000 "$work/sway.log")"
as_user swaymsg create_output >/dev/null && as_user swaymsg create_output >/dev/null ||
  fail "swaymsg create_output failed"
two_outputs() { [ "$(as_user swaymsg -t get_outputs | grep -c '"name": "HEADLESS-')" = 2 ]; }
until_ok 10 two_outputs || fail "sway made no two outputs"

# Headless sway has no keyboard until a client makes one; this one stays
# on the seat so that the key that counts is not the first.
# (Started directly, not through as_user, so that $! is wtype itself.)
setpriv --reuid=$user --regid=$user --clear-groups env -i XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY="$wayland" \
  wtype -s 600000 "" >/dev/null 2>&1 &
keyboard=$!

as_user swaymsg exec "swayidle -w timeout 1 $work/saver.sh" >/dev/null || fail "swaymsg exec failed"

# A fresh screenshot of OUTPUT (physical pixels) shows sky and snow, all over.
covers() {
  as_user grim -o "$1" "$work/$1.png" 2>/dev/null &&
    /usr/bin/python3 "$root/tests/support/scene_on_screen.py" "$work/$1.png" --sky --particles 20 4 \
      --covered 0.99 >"$work/$1.txt"
}
outputs=(HEADLESS-1 HEADLESS-2)
[ "$kind" = xwayland ] && outputs=(HEADLESS-1)
for output in "${outputs[@]}"; do
  until_ok 90 covers "$output" || fail "$output is not covered with sky and snow: $(cat "$work/$output.txt" 2>/dev/null)"
  echo "$output: $(cat "$work/$output.txt")"
done

# Outputs that come, change and go while it runs are followed: one plugged
# in at scale 1.5 gets its own view and stays filled when its mode changes,
# and once it is unplugged the saver goes on.
if [ "$kind" = native ]; then
  as_user swaymsg create_output >/dev/null || fail "swaymsg create_output failed"
  until_ok 90 covers HEADLESS-3 || fail "the output plugged in is not covered: $(cat "$work/HEADLESS-3.txt" 2>/dev/null)"
  echo "HEADLESS-3 (plugged in, scale 1.5): $(cat "$work/HEADLESS-3.txt")"
  as_user swaymsg output HEADLESS-3 resolution 800x600 >/dev/null || fail "sway could not change the mode"
  # Until the saver has drawn at the new size the old picture fills part of it.
  refitted() { covers HEADLESS-3 && grep -q ' of 800x600 ' "$work/HEADLESS-3.txt"; }
  until_ok 90 refitted || fail "HEADLESS-3 in its new mode is not covered: $(cat "$work/HEADLESS-3.txt" 2>/dev/null)"
  echo "HEADLESS-3 (800x600): $(cat "$work/HEADLESS-3.txt")"
  as_user swaymsg output HEADLESS-3 unplug >/dev/null || fail "sway could not unplug HEADLESS-3"
  until_ok 90 covers HEADLESS-2 || fail "HEADLESS-2 is not covered after HEADLESS-3 left"
  [ -s "$work/code" ] && fail "it ended when an output left"
fi

# Outputs switched off, as a power-saving swayidle line does next: the
# compositor stops asking for frames, and a key must still get through.
if [ "$kind" = native ]; then
  as_user swaymsg output '*' power off >/dev/null || fail "sway could not switch the outputs off"
  outputs_off() { ! as_user swaymsg -t get_outputs | grep -q '"power": true'; }
  until_ok 10 outputs_off || fail "the outputs stay on"
fi
as_user wtype a || fail "wtype could not type"
until_ok 20 test -s "$work/code" || fail "still running 20 s after the key"
code=$(head -1 "$work/code")
[ "$code" = 0 ] || fail "exit code $code, not 0"
# Our own remarks (a software renderer's, one line each) may be there;
# nothing from the libraries under us.
grep -v '^Vesperine: ' "$work/err" && fail "lines on standard error that are not ours"
echo "pass: $kind"
