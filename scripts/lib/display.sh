# Sourced by the scripts that need an X display: start_xvfb starts a private
# Xvfb (with GLX) on a free display number and exports DISPLAY; it is stopped
# when the calling script exits. -noreset: by default Xvfb resets itself
# whenever its last client leaves, and a test that connects during that
# reset is refused; tests come and go one after another here.
start_xvfb() {
  local size=${1:-1280x720}
  local n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${size}x24" +extension GLX -nolisten tcp -noreset >/dev/null 2>&1 &
  VESPERINE_XVFB_PID=$!
  export DISPLAY=":$n"
  trap stop_xvfb EXIT
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.05
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_xvfb() {
  [ -n "${VESPERINE_XVFB_PID:-}" ] && kill "$VESPERINE_XVFB_PID" 2>/dev/null || true
  wait "${VESPERINE_XVFB_PID:-}" 2>/dev/null || true
}
