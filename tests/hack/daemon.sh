#!/usr/bin/env bash
# The real XScreenSaver daemon runs the saver as one of its display modes,
# on a private Xvfb: its programs line names a copy of the executable with
# "--root"; "xscreensaver-command -activate" starts it and the screen shows
# the sky and snow; "-deactivate" stops it with exit code 0 within 2 s, and
# nothing of ours is left running. The daemon will not start display modes
# as root, so under root it runs as the unprivileged uid 65534.
#   daemon.sh PATH/TO/vesperine
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/display.sh"
. "$here/../support/status_wrapper.sh"

work=$(mktemp -d)
daemon=
as_user=()
cleanup() {
  [ -n "$daemon" ] && { "${as_user[@]}" xscreensaver-command -exit >/dev/null 2>&1; kill "$daemon" 2>/dev/null; }
  # Whatever a failed run left behind: only processes started from $work.
  for pid in $(pgrep -f "^$work/"); do kill -KILL "$pid" 2>/dev/null; done
  stop_xvfb
  rm -rf "$work"
}
start_xvfb 640x480 || exit 1
trap cleanup EXIT
fail() { echo "$*" >&2; echo "--- daemon log:" >&2; tail -n 25 "$work/daemon.log" >&2; exit 1; }

# Everything the daemon's uid needs, readable by it.
chmod 755 "$work"
mkdir "$work/home"
cp "$exe" "$work/vesperine"
chmod 755 "$work/vesperine"
# The daemon's helper that starts a display mode exits right after it has
# stopped it: the wrapper writes the exit status down.
write_status_wrapper "$work/run-hack" "$work/vesperine" "$work/home/status"
cat >"$work/home/.xscreensaver" <<CONF
mode: one
selected: 0
lock: False
splash: False
fade: False
unfade: False
timeout: 0:01:00
programs: GL: $work/run-hack --root \\n
CONF
if [ "$(id -u)" = 0 ]; then
  chown -R 65534:65534 "$work/home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
as_user+=(env "HOME=$work/home" "DISPLAY=$DISPLAY")

"${as_user[@]}" xscreensaver -no-splash -verbose >"$work/daemon.log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
  "${as_user[@]}" xscreensaver-command -time >/dev/null 2>&1 && break
  sleep 0.1
done
"${as_user[@]}" xscreensaver-command -activate >/dev/null 2>&1 || fail "the daemon does not answer"

for _ in $(seq 100); do
  pgrep -f "^$work/vesperine --root" >/dev/null && break
  sleep 0.1
done
pgrep -f "^$work/vesperine --root" >/dev/null || fail "the daemon did not start the saver"

# The first particles reach the screen a few seconds after the start.
shown=no
for _ in $(seq 30); do
  sleep 1
  import -window root "$work/shot.png" 2>/dev/null || continue
  if result=$("$here/../support/scene_on_screen.py" "$work/shot.png" --sky --particles 100 5); then shown=yes; break; fi
done
echo "screen: $result"
[ $shown = yes ] || fail "the screen never showed the sky with snow"

start=$(date +%s%N)
"${as_user[@]}" xscreensaver-command -deactivate >/dev/null 2>&1
for _ in $(seq 40); do
  [ -s "$work/home/status" ] && break
  sleep 0.05
done
[ -s "$work/home/status" ] || fail "the saver was still running 2 s after -deactivate"
echo "ended $(( ($(date +%s%N) - start) / 1000000 )) ms after -deactivate with exit code $(cat "$work/home/status")"
[ "$(cat "$work/home/status")" = 0 ] || fail "exit code $(cat "$work/home/status")"
sleep 0.2
pgrep -f "^$work/vesperine" >/dev/null && fail "a saver process is left running"
echo "nothing left running"
exit 0
