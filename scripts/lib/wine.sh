# Sourced by the scripts that run Windows programs under Wine.
#   start_wine  sets up the environment, creates the project's own Wine prefix
#               once (build/wine-prefix, or $VESPERINE_WINEPREFIX) and starts
#               a persistent wineserver, so each program starts in a blink,
#               and one desktop for all of them
#   stop_wine   stops that wineserver
# wine_environment alone only exports the variables (used by wine-run).

wine_environment() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  export WINEPREFIX=${VESPERINE_WINEPREFIX:-$root/build/wine-prefix}
  export WINEARCH=win64
  # Quiet, unless a test asks for one of Wine's trace channels.
  export WINEDEBUG=${VESPERINE_WINEDEBUG:--all}
  # No Mono or Gecko installer prompts: nothing here needs them. A test may
  # add overrides of its own.
  export WINEDLLOVERRIDES="mscoree,mshtml=${VESPERINE_WINEDLLOVERRIDES:+;$VESPERINE_WINEDLLOVERRIDES}"
}

wine_server() {
  if [ -x /usr/lib/wine/wineserver64 ]; then
    /usr/lib/wine/wineserver64 "$@"
  else
    wineserver "$@"
  fi
}

# Creates the prefix if it is not complete yet. Several scripts may get here
# at once; the lock lets exactly one of them run wineboot.
wine_prefix() {
  wine_environment
  [ -f "$WINEPREFIX/.vesperine-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.vesperine-ready" ]; then
      echo "wine: creating the prefix $WINEPREFIX" >&2
      wine wineboot --init >/dev/null 2>&1 || exit 1
      # The registry reaches the disk when the server ends.
      wine_server -w
      touch "$WINEPREFIX/.vesperine-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

start_wine() {
  command -v wine >/dev/null || { echo "wine is not installed (scripts/setup windows)" >&2; return 1; }
  wine_prefix || { echo "wine: could not create $WINEPREFIX" >&2; return 1; }
  # Persistent until stop_wine: programs then find a running server.
  wine_server -p
  # The tests expect Windows 7, which a fresh prefix was until Wine 10 (it
  # now plays Windows 10): said in the prefix, whatever Wine made it.
  wine reg add 'HKCU\Software\Wine' /v Version /d win7 /f </dev/null >/dev/null 2>&1
  # Start Wine's own services now, with no inherited output: started by a
  # test they would keep its output pipe open, and CTest would wait forever.
  wine cmd /c exit </dev/null >/dev/null 2>&1
  # Wine closes its desktop a second after the last program on it ends, and
  # the next program starts a new one: a churn of desktops between tests,
  # and a second's wait for each old one to go. One hidden window, held
  # until stop_wine, keeps a single desktop up for the whole run (the
  # Windows tree's helper program, once it is built).
  local holder
  holder=$(dirname "${BASH_SOURCE[0]}")/../../build/windows/tests/wine/wine_child.exe
  if [ -f "$holder" ]; then
    wine "$holder" window 1 1 </dev/null >/dev/null 2>&1 &
  fi
}

stop_wine() {
  wine_environment
  wine_server -k 2>/dev/null || true
  wine_server -w 2>/dev/null || true
}
