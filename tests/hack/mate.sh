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
begin_daemon_test

serve_from_saver_folder "$unpacked/usr/bin/vesperine"
share_with_user "$unpacked/usr/share" share
as_user+=("XDG_DATA_DIRS=$work/share:/usr/share")
start_session_bus
"${as_user[@]}" gsettings set org.mate.screensaver mode single &&
  "${as_user[@]}" gsettings set org.mate.screensaver themes "['screensavers-vesperine']" &&
  "${as_user[@]}" gsettings set org.mate.screensaver lock-enabled false || fail "gsettings failed"

activate_daemon mate-screensaver-command "'" mate-screensaver --no-daemon --debug
deactivate_daemon mate-screensaver-command
exit 0
