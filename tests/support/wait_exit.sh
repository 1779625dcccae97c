# Sourced by the end-to-end scripts.
# wait_exit PID SECONDS: waits up to SECONDS for the child PID to end and
# returns its exit code; 124 (as timeout(1) does) when it is still running.
wait_exit() {
  local pid=$1 seconds=$2
  for _ in $(seq $((seconds * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && return 124
  wait "$pid"
}
