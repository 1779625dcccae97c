#!/usr/bin/env bash
# End-to-end cases of the real Windows screensaver under Wine, on the X
# display in $DISPLAY, driven with xdotool and judged from screenshots:
#   draws SCR [SWITCH]        the scene fills the screen; a key then ends it with 0
#   key-ends SCR              a key press ends a running saver with exit code 0
#   click-ends SCR            a mouse button ends it with exit code 0
#   move-keeps-running SCR    moving the mouse and turning the wheel do not end it
#   second-refused SCR        a second run without switch exits at once with 0
#   fatal N SCR               N "Debug" boxes appear one after the other; once
#                             they are answered the process exits with 0
#   same-frame LINUX WINDOWS  the two systems' frame_at_time draw the same frame
# Exit code 0 pass, 1 fail, 77 skipped (no display, or no Linux tree).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine_run=$root/scripts/lib/wine-run
check_frame="/usr/bin/python3 $here/check_frame.py"
. "$root/tests/support/wait_exit.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "SKIP: no X display (scripts/test provides one)"
  exit 77
fi
work=$(mktemp -d)
pids=()

cleanup() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start SCR [ARGS...]: runs it in the background; its pid in $started.
start() {
  "$wine_run" "$@" >>"$work/output.txt" 2>&1 &
  started=$!
  pids+=("$started")
}

# saver_window PID: that process's full-screen window once it is shown
# (60 s at most). Windows that earlier cases left behind do not count.
saver_window() {
  timeout 60 xdotool search --sync --onlyvisible --pid "$1" --name '^Vesperine$' 2>/dev/null | head -n 1
}

# expect_exit PID SECONDS: the process must end within SECONDS with code 0.
expect_exit() {
  local code
  wait_exit "$1" "$2"
  code=$?
  [ "$code" = 124 ] && fail "still running after $2 s"
  [ "$code" = 0 ] || fail "exit code $code, not 0; output: $(cat "$work/output.txt")"
}

running_saver() {
  start "$@"
  saver=$started
  window=$(saver_window "$saver")
  [ -n "$window" ] || fail "no Vesperine window appeared; output: $(cat "$work/output.txt")"
  sleep 1
  kill -0 "$saver" 2>/dev/null || fail "the saver ended by itself"
}

press_key() {
  xdotool windowfocus --sync "$1" key "$2" 2>/dev/null
}

case "${1:-}" in
  draws)
    running_saver "$2" "${@:3}"
    screen=$(xdotool getdisplaygeometry)
    size=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd' ')
    [ "$size" = "$screen" ] || fail "the window is $size, the screen $screen"
    # The first snowflakes fall into view some seconds after the start; the
    # sky must be right in every screenshot until they do.
    for shot in $(seq 30); do
      import -window root -depth 8 "ppm:$work/screen.ppm" || fail "no screenshot"
      $check_frame sky "$work/screen.ppm" >/dev/null || {
        $check_frame sky "$work/screen.ppm"; fail "screenshot $shot does not show the sky"; }
      $check_frame scene "$work/screen.ppm" >/dev/null && break
      [ "$shot" = 30 ] && { $check_frame scene "$work/screen.ppm"; fail "no snowflakes came into view"; }
      sleep 1
    done
    $check_frame scene "$work/screen.ppm"
    kill -0 "$saver" 2>/dev/null || fail "the saver ended by itself"
    press_key "$window" a
    expect_exit "$saver" 20
    ;;
  key-ends)
    running_saver "$2" /s
    press_key "$window" space
    expect_exit "$saver" 20
    ;;
  click-ends)
    running_saver "$2" /s
    xdotool mousemove --sync 200 200 click 3 2>/dev/null
    expect_exit "$saver" 20
    ;;
  move-keeps-running)
    running_saver "$2" /s
    xdotool mousemove --sync 100 100 sleep 0.2 mousemove --sync 300 250 2>/dev/null
    xdotool click 4 sleep 0.2 click 5 2>/dev/null
    sleep 2
    kill -0 "$saver" 2>/dev/null || fail "the saver ended on a mouse move or the wheel"
    press_key "$window" Escape
    expect_exit "$saver" 20
    ;;
  second-refused)
    running_saver "$2"
    first=$saver
    begin=$(date +%s)
    timeout 30 "$wine_run" "$2" >>"$work/output.txt" 2>&1
    code=$?
    [ "$code" = 0 ] || fail "the second run gave exit code $code"
    [ $(($(date +%s) - begin)) -le 10 ] || fail "the second run did not end at once"
    windows=$(xdotool search --onlyvisible --name '^Vesperine$' 2>/dev/null | wc -l)
    [ "$windows" = 1 ] || fail "$windows saver windows, not 1"
    kill -0 "$first" 2>/dev/null || fail "the first run ended"
    press_key "$window" a
    expect_exit "$first" 20
    ;;
  fatal)
    boxes=$2
    start "$3" /s
    program=$started
    answered=" "
    for n in $(seq "$boxes"); do
      box=""
      for _ in $(seq 600); do
        for id in $(xdotool search --onlyvisible --pid "$program" --name '^Debug$' 2>/dev/null); do
          case "$answered" in *" $id "*) ;; *) box=$id ;; esac
        done
        [ -n "$box" ] && break
        kill -0 "$program" 2>/dev/null || fail "ended before box $n of $boxes"
        sleep 0.1
      done
      [ -n "$box" ] || fail "box $n of $boxes did not appear"
      press_key "$box" Return
      answered="$answered$box "
    done
    expect_exit "$program" 30
    ;;
  same-frame)
    linux=$(realpath -m "$2") windows=$(realpath -m "$3")
    if [ ! -x "$linux" ]; then
      echo "SKIP: no Linux build of frame_at_time at $linux (scripts/build linux)"
      exit 77
    fi
    # At 9 s the particles of the set-up are well in view.
    (cd "$work" && "$linux" 9.0 linux.ppm >/dev/null 2>&1) || fail "the Linux frame failed"
    (cd "$work" && "$wine_run" "$windows" 9.0 windows.ppm >/dev/null 2>&1) || fail "the Windows frame failed"
    $check_frame same "$work/linux.ppm" "$work/windows.ppm" || fail "the frames differ"
    ;;
  *)
    sed -n '2,12p' "$0" >&2
    exit 2
    ;;
esac
echo "PASS"
