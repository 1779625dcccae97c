# Sourced by the scripts that run a real screensaver daemon. They need root:
# the daemons refuse to start programs as root, so they run as the
# unprivileged uid 65534, and they run only programs from their saver folder
# /usr/libexec/xscreensaver, so the script re-runs itself in a mount
# namespace of its own where an overlay puts our program into that folder:
# what the test writes there lands in the test's own folder, nothing outside
# the test sees it, and the real folder is never written. Each script
# defines stop_daemon, which ends its daemon, or takes the one of the
# session daemons below.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../scripts/lib/display.sh"
. "$here/../support/status_wrapper.sh"

# Re-runs the calling script inside the private mount namespace; exits 77
# (skipped) when not root.
enter_private_mounts() {
  [ "$(id -u)" = 0 ] || { echo "needs root (uid 65534 and a mount namespace); skipped"; exit 77; }
  [ -n "${VESPERINE_PRIVATE_MOUNTS:-}" ] && return 0
  exec env VESPERINE_PRIVATE_MOUNTS=1 unshare --mount --propagation private "$0" "$@"
}

# A private Xvfb of 640x480 and an empty $work; at the exit stop_daemon, the
# end of Xvfb and clean_up_work.
begin_daemon_test() {
  work=$(mktemp -d)
  start_xvfb 640x480 || exit 1
  trap 'stop_daemon; stop_xvfb; clean_up_work' EXIT
}

fail() {
  echo "$*" >&2
  echo "--- daemon log:" >&2
  tail -n 25 "$work/daemon.log" >&2
  exit 1
}

# serve_from_saver_folder EXE: $work/vesperine is a copy of EXE, and the
# saver folder holds, besides what it held before (the daemons' helpers
# live there too), "vesperine": a wrapper that runs the copy and writes its
# exit status to $work/home/status. $work/home becomes the home of uid 65534;
# as_user runs a command there with a cleared environment.
serve_from_saver_folder() {
  local exe=$1
  chmod 755 "$work"
  mkdir -p "$work/overlay/upper" "$work/overlay/work" "$work/home/run"
  chmod 700 "$work/home/run"
  cp "$exe" "$work/vesperine"
  chmod 755 "$work/vesperine"
  mount -t overlay overlay -o "lowerdir=/usr/libexec/xscreensaver,upperdir=$work/overlay/upper,workdir=$work/overlay/work" \
    /usr/libexec/xscreensaver || fail "cannot lay an overlay over /usr/libexec/xscreensaver"
  write_status_wrapper /usr/libexec/xscreensaver/vesperine "$work/vesperine" "$work/home/status"
  chown -R 65534:65534 "$work/home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env -i "HOME=$work/home"
           "XDG_RUNTIME_DIR=$work/home/run" "DISPLAY=$DISPLAY" PATH=/usr/bin:/bin)
}

# share_with_user FOLDER NAME: a copy of FOLDER as $work/NAME that uid 65534
# can read, for a checkout in a home only its owner may enter (Debian 13
# makes homes 0700).
share_with_user() {
  cp -R "$1" "$work/$2" && chmod -R a+rX "$work/$2" || fail "cannot copy $1 for the daemon's user"
}

# Waits up to 10 s for our program to run.
wait_for_saver() {
  for _ in $(seq 100); do
    pgrep -f "^$work/vesperine --root" >/dev/null && return 0
    sleep 0.1
  done
  fail "the daemon did not start the saver"
}

# Waits up to 30 s for the screen to show the sky with snow.
wait_for_scene() {
  local result
  for _ in $(seq 30); do
    sleep 1
    import -window root "$work/shot.png" 2>/dev/null || continue
    if result=$("$here/../support/scene_on_screen.py" "$work/shot.png" --sky --particles 100 5); then
      echo "screen: $result"
      return 0
    fi
  done
  fail "the screen never showed the sky with snow: $result"
}

# After the daemon was told to stop: the saver ended with exit code 0
# within 2 s and nothing of ours is left running.
expect_clean_end() {
  local start=$1
  for _ in $(seq 40); do
    [ -s "$work/home/status" ] && break
    sleep 0.05
  done
  [ -s "$work/home/status" ] || fail "the saver was still running 2 s after the stop"
  echo "ended $(( ($(date +%s%N) - start) / 1000000 )) ms after the stop with exit code $(cat "$work/home/status")"
  [ "$(cat "$work/home/status")" = 0 ] || fail "exit code $(cat "$work/home/status")"
  sleep 0.2
  pgrep -f "^$work/vesperine" >/dev/null && fail "a saver process is left running"
  echo "nothing left running"
}

# Ends whatever a failed run left behind (only processes started from
# $work), takes the overlay away and removes $work.
clean_up_work() {
  for pid in $(pgrep -f "^$work/"); do kill -KILL "$pid" 2>/dev/null; done
  umount /usr/libexec/xscreensaver 2>/dev/null
  rm -rf --one-file-system "$work"
}

# For the desktop daemons (MATE, Xfce) that take their settings from a
# session bus: a bus of the user's own, and stop_daemon ends it with the
# daemon.
daemon=
bus=
stop_daemon() {
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null
  [ -n "$bus" ] && kill "$bus" 2>/dev/null
}
start_session_bus() {
  { read -r address; read -r bus; } < <("${as_user[@]}" dbus-daemon --session --fork --print-address=1 --print-pid=1)
  [ -n "$bus" ] || fail "no session bus"
  as_user+=("DBUS_SESSION_BUS_ADDRESS=$address")
}

# activate_daemon TOOL JOB-END DAEMON...: starts DAEMON as the user, waits
# until TOOL (its -command program) answers, activates it and checks that
# our program runs as the package's entry (the daemon logs the job's
# command, followed by JOB-END) and draws the scene.
activate_daemon() {
  local tool=$1 job_end=$2; shift 2
  "${as_user[@]}" "$@" >"$work/daemon.log" 2>&1 &
  daemon=$!
  for _ in $(seq 100); do
    "${as_user[@]}" "$tool" --query >/dev/null 2>&1 && break
    sleep 0.1
  done
  local start
  start=$(date +%s%N)
  "${as_user[@]}" "$tool" --activate >/dev/null || fail "the daemon does not answer"
  wait_for_saver
  echo "started $(( ($(date +%s%N) - start) / 1000000 )) ms after --activate"
  local command
  command=$(sed -n 's/^Exec=//p' "$unpacked/usr/share/applications/screensavers/vesperine.desktop")
  grep -qF "Setting command for job: '$command$job_end" "$work/daemon.log" || fail "the theme is not the package's entry"
  wait_for_scene
}

# deactivate_daemon TOOL: the daemon stops our program, which ends cleanly.
deactivate_daemon() {
  local start
  start=$(date +%s%N)
  "${as_user[@]}" "$1" --deactivate >/dev/null
  expect_clean_end "$start"
}
