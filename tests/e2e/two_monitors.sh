#!/usr/bin/env bash
# The saver on two monitors side by side: a private X.Org dummy server with
# 800x600 at 0,0 (primary) and 640x480 at 800,0. PROGRAM is the Linux
# executable or the .scr, which runs under Wine: in a prefix and a server of
# its own (build/wine-prefix-two-monitors), because Wine takes the monitors
# from the display its server's first program connected to, and the test
# run's shared server sits on the single-monitor Xvfb.
#   snow-and-click PROGRAM   after 12 s both monitors show the sky and snow,
#                            each its own; a click on the second ends it with 0
#   key-on-second PROGRAM    a key with the pointer on the second ends it with 0
#   unplugged PROGRAM        switching the second monitor off mid-run neither
#                            crashes it nor keeps a key from ending it with 0
#   same-primary FRAME_AT_TIME
#                            the primary's frame of the first population is
#                            the same, byte for byte, with one monitor and two
#   gl-calls PROGRAM         every frame of both windows makes the same GL calls
#                            as on one monitor (tests/scene/e2e/frame_calls.sh)
# Every case also checks that no monitor's mode changed. Exit code 0 pass,
# 1 fail, 77 skipped (X.Org needs root).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
check_frame="/usr/bin/python3 $root/tests/wine/check_frame.py"
. "$root/tests/support/wait_exit.sh"
what=${1:-}
program=${2:-}

if [ "$(id -u)" != 0 ] || ! command -v Xorg >/dev/null; then
  echo "SKIP: the X.Org dummy server needs root and Xorg (scripts/setup)"
  exit 77
fi
. "$root/scripts/lib/display.sh"
start_xorg_dummy || exit 1
work=$(mktemp -d)
saver=""
under_wine=""
case "$program" in
  *.scr | *.exe)
    under_wine=1
    export VESPERINE_WINEPREFIX=$root/build/wine-prefix-two-monitors
    . "$root/scripts/lib/wine.sh"
    wine_prefix || { echo "wine: no prefix at $VESPERINE_WINEPREFIX" >&2; exit 1; }
    # A server left from another display would report that one's monitors.
    wine_server -k 2>/dev/null
    wine_server -w 2>/dev/null
    ;;
esac
cleanup() {
  [ -n "$saver" ] && kill "$saver" 2>/dev/null
  [ -n "$under_wine" ] && { wine_server -k 2>/dev/null; wine_server -w 2>/dev/null; }
  stop_xorg_dummy
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

modes() {
  xrandr -q | grep '\*'
}
modes_before=$(modes)
check_modes() {
  [ "$(modes)" = "$modes_before" ] || fail "the monitors' modes changed: $(modes)"
}

# run PROGRAM ARGS...: Windows programs under Wine.
run() {
  if [ -n "$under_wine" ]; then
    wine "$@"
  else
    "$@"
  fi
}

# Starts the saver with /s and waits until both monitors show pictures.
start_saver() {
  run "$program" /s >"$work/saver.log" 2>&1 &
  saver=$!
  for _ in $(seq 600); do
    kill -0 "$saver" 2>/dev/null || fail "the saver ended by itself: $(tail -c 2000 "$work/saver.log")"
    [ "$(xdotool search --onlyvisible --name '^Vesperine$' 2>/dev/null | wc -l)" -ge 2 ] && return 0
    sleep 0.1
  done
  fail "no two Vesperine windows within 60 s"
}

expect_exit_zero() {
  wait_exit "$saver" 20
  code=$?
  [ "$code" = 124 ] && fail "still running 20 s after the input"
  saver=""
  [ "$code" = 0 ] || fail "exit code $code, not 0"
}

case "$what" in
  snow-and-click)
    start_saver
    sleep 12
    import -window root "$work/root.png" || fail "no screenshot"
    convert "$work/root.png" -crop 800x600+0+0 +repage -depth 8 "ppm:$work/primary.ppm" &&
      convert "$work/root.png" -crop 640x480+800+0 +repage -depth 8 "ppm:$work/second.ppm" || fail "no crops"
    $check_frame differ "$work/primary.ppm" "$work/second.ppm" || fail "the two monitors do not each show their own snowfall"
    xdotool mousemove --sync 1120 240 click 1
    expect_exit_zero
    ;;
  key-on-second)
    start_saver
    xdotool mousemove --sync 1120 240 sleep 0.5 key a
    expect_exit_zero
    ;;
  unplugged)
    start_saver
    sleep 2
    xrandr --output DUMMY1 --off || fail "could not switch the second monitor off"
    sleep 3
    if kill -0 "$saver" 2>/dev/null; then
      echo "still running on the primary alone"
      xdotool mousemove 400 300 sleep 0.5 key a
    fi
    expect_exit_zero
    xrandr --output DUMMY1 --mode 640x480_t --pos 800x0
    ;;
  same-primary)
    run "$program" 9.0 "$work/two.ppm" 2>"$work/two.log" >/dev/null || fail "the two-monitor frame failed: $(cat "$work/two.log")"
    grep -q '^monitor windows: 1' "$work/two.log" || fail "no window on the second monitor: $(cat "$work/two.log")"
    xrandr --output DUMMY1 --off || fail "could not switch the second monitor off"
    run "$program" 9.0 "$work/one.ppm" 2>"$work/one.log" >/dev/null || fail "the one-monitor frame failed: $(cat "$work/one.log")"
    grep -q '^monitor windows: 0' "$work/one.log" || fail "the second monitor was still there: $(cat "$work/one.log")"
    xrandr --output DUMMY1 --mode 640x480_t --pos 800x0
    $check_frame scene "$work/one.ppm" || fail "the primary's frame shows no scene"
    cmp -s "$work/one.ppm" "$work/two.ppm" || fail "the primary's frame differs between one monitor and two"
    ;;
  gl-calls)
    "$root/tests/scene/e2e/frame_calls.sh" "$program" 2 || fail "GL calls per frame"
    ;;
  *)
    sed -n '2,17p' "$0" >&2
    exit 2
    ;;
esac
check_modes
echo "PASS"
