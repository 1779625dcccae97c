# Sourced by the end-to-end scripts that must know when a process talks to
# the X server of $DISPLAY, read from outside: its sockets in /proc and
# their peers in the kernel's socket table (ss), nothing the process writes.

# x_connections PID: how many connections PID holds to the X server.
x_connections() {
  local number=${DISPLAY#*:} sockets
  number=${number%%.*}
  sockets=$(ls -l "/proc/$1/fd" 2>/dev/null | sed -n 's/.*socket:\[\([0-9]*\)\]$/\1/p')
  # The server's end of each connection is named after its socket; the
  # last column there is the client's end.
  ss -xHn state established 2>/dev/null |
    awk -v s="/tmp/.X11-unix/X$number" -v sockets="$sockets" '
      BEGIN { split(sockets, list, "\n"); for (i in list) mine[list[i]] = 1 }
      ($4 == s || $4 == "@" s) && ($7 in mine) { n++ }
      END { print n + 0 }'
}

# wait_x_connections PID COUNT SECONDS: waits until PID holds COUNT
# connections to the X server; 1 when it ended or the time ran out first.
wait_x_connections() {
  local pid=$1 count=$2 end=$((SECONDS + $3))
  while [ "$(x_connections "$pid")" -lt "$count" ]; do
    kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.01
  done
}
