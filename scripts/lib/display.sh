# Sourced by the scripts that need an X display: start_xvfb starts a private
# Xvfb (with GLX) on a free display number and exports DISPLAY (and leaves any
# Wayland session out of it, so that the saver draws on this X server whatever
# session the script was started from); it is stopped
# when the calling script exits. A second call starts a second server (and
# DISPLAY names the newest); stop_xvfb stops them all. -noreset: by default Xvfb resets itself
# whenever its last client leaves, and a test that connects during that
# reset is refused; tests come and go one after another here.
start_xvfb() {
  local size=${1:-1280x720}
  local n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${size}x24" +extension GLX -nolisten tcp -noreset >/dev/null 2>&1 &
  VESPERINE_XVFB_PID="${VESPERINE_XVFB_PID:-} $!"
  export DISPLAY=":$n" XDG_SESSION_TYPE=x11
  unset WAYLAND_DISPLAY
  trap stop_xvfb EXIT
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.05
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_xvfb() {
  local pid
  for pid in ${VESPERINE_XVFB_PID:-}; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  VESPERINE_XVFB_PID=
}

# start_xorg_dummy starts a private X.Org server with the dummy video driver
# (Xvfb cannot place two monitors side by side), exports DISPLAY and lays out
# two monitors with xrandr: 800x600 at 0,0 (primary) and 640x480 at 800,0.
# It is stopped when the calling script exits. Needs root, as Xorg does.
start_xorg_dummy() {
  local here n=91 tries
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  VESPERINE_XORG_LOG=$(mktemp /tmp/vesperine-xorg.XXXXXX)
  trap stop_xorg_dummy EXIT
  # Another server may take the free number first: then ours ends at once
  # and the next number is tried.
  for tries in 1 2 3 4 5; do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xorg ":$n" -config "$here/xorg-dummy.conf" -noreset -nolisten tcp -novtswitch -sharevts \
      -logfile "$VESPERINE_XORG_LOG" >/dev/null 2>&1 &
    VESPERINE_XORG_PID=$!
    export DISPLAY=":$n" XDG_SESSION_TYPE=x11
    unset WAYLAND_DISPLAY
    for _ in $(seq 200); do
      kill -0 "$VESPERINE_XORG_PID" 2>/dev/null || break
      xrandr -q >/dev/null 2>&1 && break
      sleep 0.05
    done
    kill -0 "$VESPERINE_XORG_PID" 2>/dev/null && break
    n=$((n + 1))
  done
  # Modes of our own on two outputs: 60 Hz 800x600 and 640x480.
  xrandr --newmode 800x600_t 40.00 800 840 968 1056 600 601 605 628 &&
    xrandr --addmode DUMMY0 800x600_t &&
    xrandr --newmode 640x480_t 25.175 640 656 752 800 480 490 492 525 &&
    xrandr --addmode DUMMY1 640x480_t &&
    xrandr --output DUMMY0 --mode 800x600_t --pos 0x0 --primary --output DUMMY1 --mode 640x480_t --pos 800x0 ||
    { echo "no two-monitor X.Org dummy server on $DISPLAY (log: $VESPERINE_XORG_LOG)" >&2; return 1; }
  # Until one client asks the server to probe its outputs, clients that read
  # only its current configuration (as GLFW does) see the primary alone.
  xrandr -q >/dev/null
}

stop_xorg_dummy() {
  [ -n "${VESPERINE_XORG_PID:-}" ] && kill "$VESPERINE_XORG_PID" 2>/dev/null || true
  wait "${VESPERINE_XORG_PID:-}" 2>/dev/null || true
  rm -f "${VESPERINE_XORG_LOG:-}"
}
