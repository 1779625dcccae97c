#!/usr/bin/env bash
# MATE's screensaver daemon (mate-screensaver) with the package's files,
# unpacked with dpkg -x: its desktop entry found through XDG_DATA_DIRS, its
# program in the daemon's saver folder. As uid 65534 with a session bus of
# its own, the daemon lists the entry as the theme "screensavers-vesperine";
# chosen as the only theme, "mate-screensaver-command --activate" starts our
# program and the screen shows the sky and snow; "--deactivate" stops it
# with exit code 0 and nothing of ours is left.
#   mate.sh UNPACKED-PACKAGE
set -uo pipefail
unpacked=$1
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
as_user+=("XDG_DATA_DIRS=$work/share:/usr/share")
{ read -r address; read -r bus; } < <("${as_user[@]}" dbus-daemon --session --fork --print-address=1 --print-pid=1)
[ -n "$bus" ] || fail "no session bus"
as_user+=("DBUS_SESSION_BUS_ADDRESS=$address")
"${as_user[@]}" gsettings set org.mate.screensaver mode single &&
  "${as_user[@]}" gsettings set org.mate.screensaver themes "['screensavers-vesperine']" &&
  "${as_user[@]}" gsettings set org.mate.screensaver lock-enabled false || fail "gsettings failed"

"${as_user[@]}" mate-screensaver --no-daemon --debug >"$work/daemon.log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
  "${as_user[@]}" mate-screensaver-command --query >/dev/null 2>&1 && break
  sleep 0.1
done
start=$(date +%s%N)
"${as_user[@]}" mate-screensaver-command --activate >/dev/null || fail "the daemon does not answer"
wait_for_saver
echo "started $(( ($(date +%s%N) - start) / 1000000 )) ms after --activate"
# The theme's command is the package's entry, looked up by the theme's id.
command=$(sed -n 's/^Exec=//p' "$unpacked/usr/share/applications/screensavers/vesperine.desktop")
grep -qF "Setting command for job: '$command'" "$work/daemon.log" || fail "the theme is not the package's entry"
wait_for_scene

start=$(date +%s%N)
"${as_user[@]}" mate-screensaver-command --deactivate >/dev/null
expect_clean_end "$start"
exit 0
