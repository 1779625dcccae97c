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
#   primary-off PROGRAM      switching the primary off mid-run: within two
#                            seconds the other monitor shows the sky, then
#                            snow, and a key ends it with 0
#   added PROGRAM            a monitor switched on mid-run gets a window within
#                            two seconds and its own snowfall
#   primary-mode PROGRAM     the primary raised from 800x600 to 1024x768 and the
#                            second moved beside it: both windows follow
#   same-primary FRAME_AT_TIME
#                            the primary's frame of the first population is
#                            the same, byte for byte, with one monitor and two
#   rate-change REPORTER     the primary alone, switched to a mode of the same
#                            size at half the rate: the swap reporter's frames
#                            (Mesa's no-op driver, so drawing costs nothing)
#                            follow it down to about 30 a second
#   gl-calls PROGRAM         every frame of both windows makes the same GL calls
#                            as on one monitor (tests/scene/e2e/frame_calls.sh)
# Every case also checks that the saver changed no monitor's mode. Exit code
# 0 pass, 1 fail, 77 skipped (X.Org needs root).
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
# The outputs as at the start; the cases that change them put them back.
restore_layout() {
  xrandr --output DUMMY0 --mode 800x600_t --pos 0x0 --primary --output DUMMY1 --mode 640x480_t --pos 800x0
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

# wait_windows N SECONDS: until N of the saver's windows are visible.
wait_windows() {
  for _ in $(seq $(($2 * 10))); do
    kill -0 "$saver" 2>/dev/null || fail "the saver ended by itself: $(tail -c 2000 "$work/saver.log")"
    [ "$(xdotool search --onlyvisible --name '^Vesperine$' 2>/dev/null | wc -l)" -ge "$1" ] && return 0
    sleep 0.1
  done
  fail "no $1 Vesperine windows within $2 s"
}

# Starts the saver with /s and waits until WINDOWS (default 2) monitors show pictures.
start_saver() {
  run "$program" /s >"$work/saver.log" 2>&1 &
  saver=$!
  wait_windows "${1:-2}" 60
}

# shows CHECK GEOMETRY: the screen's GEOMETRY (WxH+X+Y) passes check_frame.py CHECK.
shows() {
  import -window root "$work/root.png" || fail "no screenshot"
  convert "$work/root.png" -crop "$2" +repage -depth 8 "ppm:$work/crop.ppm" || fail "no crop"
  $check_frame "$1" "$work/crop.ppm" || fail "$2 shows no $1"
}

# shows_soon CHECK GEOMETRY: shows, once the saver has followed a change of
# the monitors. It does so at its next frames, which a loaded machine can
# hold up for seconds: tried until it passes, with a hang guard of 30 s.
shows_soon() {
  local end=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$saver" 2>/dev/null || fail "the saver ended by itself: $(tail -c 2000 "$work/saver.log")"
    import -window root "$work/root.png" 2>/dev/null &&
      convert "$work/root.png" -crop "$2" +repage -depth 8 "ppm:$work/crop.ppm" 2>/dev/null &&
      $check_frame "$1" "$work/crop.ppm" >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  shows "$1" "$2"
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
  primary-off)
    start_saver
    sleep 2
    xrandr --output DUMMY0 --off || fail "could not switch the primary off"
    sleep 2
    # The second monitor is now the only one, at the desktop's corner: its
    # sky within the two seconds; a snowflake may take longer to come into
    # view there.
    shows sky 640x480+0+0
    shows_soon scene 640x480+0+0
    xdotool mousemove 320 240 sleep 0.5 key a
    expect_exit_zero
    restore_layout
    ;;
  added)
    xrandr --output DUMMY1 --off || fail "could not switch the second monitor off"
    start_saver 1
    sleep 2
    xrandr --output DUMMY1 --mode 640x480_t --pos 800x0 || fail "could not switch the second monitor on"
    wait_windows 2 2
    sleep 10
    import -window root "$work/root.png" || fail "no screenshot"
    convert "$work/root.png" -crop 800x600+0+0 +repage -depth 8 "ppm:$work/primary.ppm" &&
      convert "$work/root.png" -crop 640x480+800+0 +repage -depth 8 "ppm:$work/second.ppm" || fail "no crops"
    $check_frame differ "$work/primary.ppm" "$work/second.ppm" || fail "the added monitor shows no snowfall of its own"
    xdotool mousemove 1120 240 click 1
    expect_exit_zero
    ;;
  primary-mode)
    start_saver
    sleep 2
    xrandr --newmode 1024x768_t 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync &&
      xrandr --addmode DUMMY0 1024x768_t &&
      xrandr --output DUMMY0 --mode 1024x768_t --output DUMMY1 --pos 1024x0 || fail "could not change the primary's mode"
    shows_soon sky 1024x768+0+0
    # The strip the old mode did not reach, and the moved second monitor.
    shows_soon sky 224x768+800+0
    shows_soon sky 640x480+1024+0
    xdotool mousemove 400 300 sleep 0.5 key a
    expect_exit_zero
    restore_layout
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
  rate-change)
    xrandr --output DUMMY1 --off || fail "could not switch the second monitor off"
    # 20 MHz over the 800x600_t timings: 30 Hz.
    xrandr --newmode 800x600_h 20.00 800 840 968 1056 600 601 605 628 &&
      xrandr --addmode DUMMY0 800x600_h || fail "could not add the 30 Hz mode"
    GALLIUM_NOOP=1 "$program" /s >"$work/swaps.log" 2>"$work/saver.log" &
    saver=$!
    wait_windows 1 60
    # fps: swaps a second over the reporter's last three seconds.
    fps() {
      awk '$1 == "swap" { t[n++] = $2 } END { c = 0; for (i = 0; i < n; i++) if (t[i] > t[n-1] - 3) c++; printf "%.1f", c / 3 }' "$work/swaps.log"
    }
    # swaps_span N SECONDS: until the swaps after the first N span SECONDS of the saver's clock.
    swaps_span() {
      for _ in $(seq 600); do
        awk -v n="$1" -v s="$2" '$1 == "swap" { c++; if (c == n + 1) f = $2; l = $2 } END { exit !(c > n && l - f >= s) }' \
          "$work/swaps.log" && return 0
        sleep 0.1
      done
      fail "the saver stopped swapping"
    }
    swaps_span 0 4
    before=$(fps)
    switched=$(grep -c '^swap' "$work/swaps.log")
    xrandr --output DUMMY0 --mode 800x600_h || fail "could not switch to the 30 Hz mode"
    # The pacer follows within a quarter of a second; three more are counted.
    swaps_span "$switched" 4
    after=$(fps)
    echo "frames a second at 60 Hz: $before, at 30 Hz: $after"
    xrandr --output DUMMY0 --mode 800x600_t
    awk -v a="$after" 'BEGIN { exit !(a > 0 && a <= 33) }' || fail "at 30 Hz the saver draws $after frames a second"
    xdotool mousemove 400 300 sleep 0.5 key a
    expect_exit_zero
    restore_layout
    ;;
  gl-calls)
    "$root/tests/scene/e2e/frame_calls.sh" "$program" 2 || fail "GL calls per frame"
    ;;
  *)
    sed -n '2,26p' "$0" >&2
    exit 2
    ;;
esac
check_modes
echo "PASS"
