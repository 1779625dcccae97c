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
begin_daemon_test

serve_from_saver_folder "$unpacked/usr/bin/vesperine"
share_with_user "$unpacked/usr/share" share
as_user+=("XDG_DATA_DIRS=$work/share:/usr/share" XDG_CURRENT_DESKTOP=XFCE)
start_session_bus
setting() { "${as_user[@]}" xfconf-query -c xfce4-screensaver -n "$@"; }
# Mode 2: one theme, the one listed.
setting -p /saver/mode -t int -s 2 &&
  setting -p /saver/themes/list -a -t string -s screensavers-vesperine &&
  setting -p /saver/enabled -t bool -s true &&
  setting -p /lock/enabled -t bool -s false || fail "xfconf-query failed"

activate_daemon xfce4-screensaver-command "" xfce4-screensaver --debug
deactivate_daemon xfce4-screensaver-command
exit 0
