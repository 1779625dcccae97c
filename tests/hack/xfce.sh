#!/usr/bin/env bash
# Xfce's screensaver daemon (xfce4-screensaver, Debian 13 on) with the
# package's files, unpacked with dpkg -x, as the MATE test runs MATE's: as
# uid 65534 with a session bus of its own (its settings in xfconf), the
# daemon lists the desktop entry as the theme "screensavers-vesperine";
# chosen as the only theme, "xfce4-screensaver-command --activate" starts our
# program and the screen shows the sky and snow; "--deactivate" stops it
# with exit code 0 and nothing of ours is left. Skipped where the release
# has no xfce4-screensaver.
#   xfce.sh UNPACKED-PACKAGE
set -uo pipefail
unpacked=$1
command -v xfce4-screensaver >/dev/null || { echo "no xfce4-screensaver on this system; skipped"; exit 77; }
. "$(dirname "$0")/daemon_lib.sh"
enter_private_mounts "$@"
daemon=
bus=
stop_daemon() {
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null
  [ -n "$bus" ] && kill "$bus" 2>/dev/null
}
begin_daemon_test

serve_from_saver_folder "$unpacked/usr/bin/vesperine"
share_with_user "$unpacked/usr/share" share
as_user+=("XDG_DATA_DIRS=$work/share:/usr/share" XDG_CURRENT_DESKTOP=XFCE)
{ read -r address; read -r bus; } < <("${as_user[@]}" dbus-daemon --session --fork --print-address=1 --print-pid=1)
[ -n "$bus" ] || fail "no session bus"
as_user+=("DBUS_SESSION_BUS_ADDRESS=$address")
setting() { "${as_user[@]}" xfconf-query -c xfce4-screensaver -n "$@"; }
# Mode 2: one theme, the one listed.
setting -p /saver/mode -t int -s 2 &&
  setting -p /saver/themes/list -a -t string -s screensavers-vesperine &&
  setting -p /saver/enabled -t bool -s true &&
  setting -p /lock/enabled -t bool -s false || fail "xfconf-query failed"

"${as_user[@]}" xfce4-screensaver --debug >"$work/daemon.log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
  "${as_user[@]}" xfce4-screensaver-command --query >/dev/null 2>&1 && break
  sleep 0.1
done
start=$(date +%s%N)
"${as_user[@]}" xfce4-screensaver-command --activate >/dev/null || fail "the daemon does not answer"
wait_for_saver
echo "started $(( ($(date +%s%N) - start) / 1000000 )) ms after --activate"
command=$(sed -n 's/^Exec=//p' "$unpacked/usr/share/applications/screensavers/vesperine.desktop")
grep -qF "Setting command for job: '$command" "$work/daemon.log" || fail "the theme is not the package's entry"
wait_for_scene

start=$(date +%s%N)
"${as_user[@]}" xfce4-screensaver-command --deactivate >/dev/null
expect_clean_end "$start"
exit 0
