#!/usr/bin/env bash
# The XScreenSaver recipe of README.Debian, word for word: its commands (the
# file's first indented block) run by an account that has never run
# XScreenSaver (uid 65534 with an empty home); then the real daemon shows
# Vesperine: "xscreensaver-command -activate" starts it and the screen shows
# the sky and snow; "-deactivate" stops it with exit code 0 within 2 s, and
# nothing of ours is left running.
#   daemon.sh PATH/TO/vesperine PATH/TO/README.Debian
set -uo pipefail
exe=$1
readme=$2
. "$(dirname "$0")/daemon_lib.sh"
enter_private_mounts "$@"
daemon=
stop_daemon() {
  [ -n "$daemon" ] && { "${as_user[@]}" xscreensaver-command -exit >/dev/null 2>&1; kill "$daemon" 2>/dev/null; }
}
begin_daemon_test

serve_from_saver_folder "$exe"
awk '/^  / { print substr($0, 3); got = 1; next } got { exit }' "$readme" >"$work/recipe"
grep -q xscreensaver "$work/recipe" || fail "no recipe in $readme"
"${as_user[@]}" sh -e "$work/recipe" || fail "the recipe failed: $(cat "$work/recipe")"

"${as_user[@]}" xscreensaver -no-splash -verbose >"$work/daemon.log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
  "${as_user[@]}" xscreensaver-command -time >/dev/null 2>&1 && break
  sleep 0.1
done
"${as_user[@]}" xscreensaver-command -activate >/dev/null 2>&1 || fail "the daemon does not answer"
wait_for_saver
wait_for_scene

start=$(date +%s%N)
"${as_user[@]}" xscreensaver-command -deactivate >/dev/null 2>&1
expect_clean_end "$start"
exit 0
