#!/usr/bin/env bash
# Another local user (uid 65534) takes every name of the single-instance
# claim first: a runtime folder of theirs with the lock held in it, the
# abstract socket an older claim used, and /tmp/vesperine-UID, once as a
# folder of theirs and once as a link to it. The victim's run without a
# switch still opens its window and says that it runs without the rule.
#   squatted_claim.sh PATH/TO/vesperine
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" = 0 ] || { echo "needs root to run as two other uids; skipped"; exit 77; }
. "$here/../../scripts/lib/display.sh"

# A uid of the test's own, so that no folder of a real account is touched.
victim=$((60000 + $$ % 5000))
fallback=/tmp/vesperine-$victim
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  stop_xvfb
  rm -rf "$work" "$fallback"
}
fail() { echo "$*" >&2; exit 1; }
start_xvfb 320x240 || exit 1
trap cleanup EXIT # after start_xvfb, which sets a trap of its own
[ ! -e "$fallback" ] || fail "$fallback exists already"
chmod 755 "$work"
cp "$exe" "$work/vesperine"
squatter=(setpriv --reuid=65534 --regid=65534 --clear-groups)

mkdir -m 777 "$work/theirs"
chown 65534:65534 "$work/theirs"
# The squatter holds the lock in its folder and binds the old abstract name,
# then says so with a file of its own.
"${squatter[@]}" /usr/bin/python3 -c '
import fcntl, socket, sys, time
lock = open(sys.argv[1], "w")
fcntl.flock(lock, fcntl.LOCK_EX)
name = socket.socket(socket.AF_UNIX)
name.bind("\0" + sys.argv[2])
open(sys.argv[3], "w").close()
time.sleep(600)' "$work/theirs/D_ORADED_EZOZEZAZIVU-$DISPLAY.lock" "D_ORADED_EZOZEZAZIVU-$victim-$DISPLAY" \
  "$work/theirs/ready" &
pids+=($!)
for _ in $(seq 200); do [ -e "$work/theirs/ready" ] && break; sleep 0.05; done
[ -e "$work/theirs/ready" ] || fail "the squatter did not take the names"

for form in folder link; do
  rm -rf "$fallback"
  if [ $form = folder ]; then
    "${squatter[@]}" mkdir -m 777 "$fallback"
  else
    "${squatter[@]}" ln -s "$work/theirs" "$fallback"
  fi
  setpriv --reuid=$victim --regid=$victim --clear-groups env "XDG_RUNTIME_DIR=$work/theirs" \
    "$work/vesperine" >/dev/null 2>"$work/stderr" &
  saver=$!
  pids+=($saver)
  timeout 20 xdotool search --sync --pid $saver >/dev/null ||
    fail "with $fallback a squatter's $form, the saver shows no window: $(cat "$work/stderr")"
  grep -q 'running without the rule' "$work/stderr" || fail "no note of the skipped rule: $(cat "$work/stderr")"
  kill $saver
  echo "$fallback a squatter's $form: the saver runs and says so"
done
exit 0
