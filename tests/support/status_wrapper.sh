# Sourced by the daemon scripts. A daemon reaps the programs it starts, so
# their exit status would reach nobody:
# write_status_wrapper WRAPPER PROGRAM STATUS-FILE writes an executable
# WRAPPER that runs PROGRAM with its own arguments, passes a stop signal on
# to it and writes its exit status to STATUS-FILE.
write_status_wrapper() {
  cat >"$1" <<SH
#!/bin/sh
"$2" "\$@" &
hack=\$!
trap 'kill -TERM \$hack' TERM INT HUP
wait \$hack
status=\$?
[ \$status -gt 128 ] && { wait \$hack; status=\$?; }
echo \$status >"$3"
SH
  chmod 755 "$1"
}
