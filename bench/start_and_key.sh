#!/usr/bin/env bash
# Start-and-key cycles for the figures: CYCLES (default 400) full-screen
# runs of the saver, each sent one key at a random moment 0.05 to 1 s after
# start, at that moment even before the saver listens; first on the machine
# as it is, then with every core kept busy by a process of pure computation.
# The end-to-end test's own harness, four runs at a time.
#   bench/start_and_key.sh VESPERINE [CYCLES]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
saver_exe=$1
cycles=${2:-400}
harness="$here/../tests/e2e/early_key.sh"

echo "== as it is (load $(cut -d' ' -f1 /proc/loadavg))"
"$harness" "$saver_exe" "$cycles" 4 1000 at-moment | tail -1

busy=()
for _ in $(seq "$(nproc)"); do
  sha256sum /dev/zero &
  busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null' EXIT
echo "== every core busy"
"$harness" "$saver_exe" "$cycles" 4 1000 at-moment | tail -1
