#!/usr/bin/env bash
# The packaged display mode, unpacked with dpkg -x, in a window of another
# client given through XSCREENSAVER_WINDOW (as XScreenSaver hands one over,
# with the default visual): it draws the sky over the whole window, keys and
# clicks do not end it, nor does xsecurelock's SIGUSR1; it writes nothing on
# standard output; SIGTERM ends it with exit code 0. A window id that names
# no window, or garbage in XSCREENSAVER_WINDOW, is a failed start: one line
# of plain ASCII on standard error (other bytes quoted as escapes) and exit
# code 1.
#   window.sh UNPACKED-PACKAGE
set -uo pipefail
hack=$1/usr/libexec/xscreensaver/vesperine
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY" >&2; exit 1; }
[ -x "$hack" ] || { echo "no $hack" >&2; exit 1; }
work=$(mktemp -d)
host=
saver=
cleanup() {
  [ -n "$saver" ] && kill -KILL "$saver" 2>/dev/null
  [ -n "$host" ] && kill "$host" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$*" >&2; exit 1; }

title="vesperine host $$"
xmessage -geometry 320x240+0+0 -title "$title" "host" &
host=$!
id=$(timeout 10 xdotool search --sync --name "^$title\$" | head -n 1)
[ -n "$id" ] || fail "the host window did not appear"

XSCREENSAVER_WINDOW=$id "$hack" --root >"$work/stdout" 2>"$work/stderr" &
saver=$!
shown=no
for _ in $(seq 30); do
  sleep 0.5
  kill -0 "$saver" 2>/dev/null || fail "the saver ended: $(cat "$work/stderr")"
  import -window "$id" "$work/shot.png" 2>/dev/null || continue
  if result=$("$here/../support/scene_on_screen.py" "$work/shot.png" --sky); then shown=yes; break; fi
done
echo "window: $result"
[ $shown = yes ] || fail "the window never showed the sky"

xdotool mousemove 100 100 click 1 key a >/dev/null 2>&1
sleep 0.5
kill -0 "$saver" 2>/dev/null || fail "a key or a click ended the display mode"
kill -USR1 "$saver"
sleep 0.5
kill -0 "$saver" 2>/dev/null || fail "SIGUSR1 ended the display mode"

start=$(date +%s%N)
kill -TERM "$saver"
for _ in $(seq 40); do kill -0 "$saver" 2>/dev/null || break; sleep 0.05; done
kill -0 "$saver" 2>/dev/null && fail "still running 2 s after SIGTERM"
wait "$saver"
status=$?
saver=
echo "ended $(( ($(date +%s%N) - start) / 1000000 )) ms after SIGTERM with exit code $status"
[ $status = 0 ] || fail "exit code $status after SIGTERM"
[ -s "$work/stdout" ] && fail "the display mode wrote on standard output: $(head -c 200 "$work/stdout")"

# Refused windows: one line, exit code 1.
kill "$host"; wait "$host" 2>/dev/null; host=
for case in "window-id:$id" "environment:0x60000c-garbage" $'environment:0x6\xff\x01'; do
  if [ "${case%%:*}" = window-id ]; then
    timeout 10 "$hack" --window-id "$id" >/dev/null 2>"$work/stderr"
  else
    XSCREENSAVER_WINDOW=${case#*:} timeout 10 "$hack" --root >/dev/null 2>"$work/stderr"
  fi
  status=$?
  echo "${case%%:*}: exit code $status, stderr: $(cat "$work/stderr")"
  [ $status = 1 ] && [ "$(wc -l <"$work/stderr")" = 1 ] || fail "not one line and exit code 1"
  LC_ALL=C grep -q '[^ -~]' "$work/stderr" && fail "bytes outside printable ASCII in the line"
done
exit 0
