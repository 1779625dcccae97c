#!/usr/bin/env bash
# The single-instance claim belongs to a user and a display: one user (root,
# with a runtime folder) and another (uid 65534, without one) each run a
# saver without a switch at once, each on a display of its own and the
# second also on the first one's display; a second run of the same user on
# the same display ends at once with exit code 0 and no word.
#   instances.sh PATH/TO/vesperine
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" = 0 ] || { echo "needs root to run as a second uid; skipped"; exit 77; }
. "$here/../../scripts/lib/display.sh"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$*" >&2; exit 1; }
start_xvfb 320x240 || exit 1
first=$DISPLAY
start_xvfb 320x240 || exit 1
second=$DISPLAY
chmod 755 "$work"
cp "$exe" "$work/vesperine"
mkdir -m 700 "$work/run"
root=(env "XDG_RUNTIME_DIR=$work/run")
other=(setpriv --reuid=65534 --regid=65534 --clear-groups env -u XDG_RUNTIME_DIR)

# who DISPLAY: starts a saver without a switch and waits for its window.
run() {
  local -n as=$1
  "${as[@]}" "DISPLAY=$2" "$work/vesperine" >/dev/null 2>"$work/stderr" &
  pids+=($!)
  DISPLAY=$2 timeout 20 xdotool search --sync --pid $! >/dev/null ||
    fail "$1 on $2 shows no window: $(cat "$work/stderr")"
  echo "$1 on $2: running"
}

# who DISPLAY: the run ends at once, with exit code 0 and nothing said.
refused() {
  local -n as=$1
  timeout 10 "${as[@]}" "DISPLAY=$2" "$work/vesperine" >"$work/out" 2>&1
  local status=$?
  [ $status = 0 ] && [ ! -s "$work/out" ] || fail "$1 on $2 again: exit code $status, said: $(cat "$work/out")"
  echo "$1 on $2 again: refused"
}

run root "$first"
run other "$second"
run other "$first"
refused root "$first"
refused other "$second"
for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null || fail "a saver ended by itself"; done
exit 0
