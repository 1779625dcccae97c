#!/usr/bin/env bash
# End-to-end cases of the real Windows screensaver under Wine, on the X
# display in $DISPLAY, driven with xdotool and judged from screenshots:
#   draws SCR [SWITCH]        the scene fills the screen; a key then ends it with 0
#   key-ends SCR              a key press ends a running saver with exit code 0
#   click-ends SCR            a mouse button ends it with exit code 0
#   move-keeps-running SCR    moving the mouse and turning the wheel do not end it
#   second-refused SCR        a second run without switch exits at once with 0
#   fatal N SCR [TEXT]        N "Debug" boxes appear one after the other; once
#                             they are answered the process exits with 0; with
#                             TEXT, a box's text begins with it (Wine's msgbox
#                             trace shows each text)
#   display-released SCR [software]
#                             after its full-screen window opened (and, on a
#                             software renderer, reopened without samples), a
#                             /s run leaves no request to keep the display on:
#                             the last execution state Wine's ntdll traces has
#                             no display bit
#   same-frame LINUX WINDOWS  the two systems' frame_at_time draw the same frame
#   manifest-and-icons SCR    the manifest and the icon groups read back from
#                             the file (wrestool, icotool)
#   installer-cycle SETUP SCR VERSION WEBSITE
#                             silent install, upgrade over it, uninstall, and a
#                             second uninstall; SCR is the copy it must install
#   upgrade-while-running SETUP SCR OTHER
#                             a silent upgrade while the installed saver (a
#                             copy of OTHER) runs: exit 0, SCR in its place
#   current-user-cycle SETUP SCR
#                             silent install for the current user only, and
#                             its uninstall
#   planted-beside-saver SCR MARKER CONTROL
#   planted-beside-installer SETUP MARKER CONTROL
#                             MARKER (a DLL that leaves NAME.loaded beside
#                             itself) copied under the names of DLLs loaded
#                             by bare name, beside a copy of SCR (or SETUP,
#                             then beside the uninstaller it installs), with
#                             Wine loading those names from there first: the
#                             program loads none and still works. CONTROL,
#                             which does not restrict its search, loads them
#                             all, so the markers are known to work
#   protections SCR LINKED SETUP LIBRARY...
#                             the PE flags of SCR, SETUP and the uninstaller
#                             it installs read back (address-space
#                             randomisation, no-execute data, terminal-server
#                             aware), SCR's relocations kept; LINKED (SCR
#                             before stripping) has stack-protector checks
#                             in our code and in each LIBRARY
#   signed-release            scripts/release with a throwaway certificate:
#                             the saver, the installer and the uninstaller it
#                             installs carry one valid signature each, and the
#                             signed ones install and run
# Exit code 0 pass, 1 fail, 77 skipped (no display, or no Linux tree).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine_run=$root/scripts/lib/wine-run
check_frame="/usr/bin/python3 $here/check_frame.py"
. "$root/tests/support/wait_exit.sh"

if [ -z "${DISPLAY:-}" ] && [ "${1:-}" != manifest-and-icons ]; then
  echo "SKIP: no X display (scripts/test provides one)"
  exit 77
fi
work=$(mktemp -d)
pids=()

cleanup() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start SCR [ARGS...]: runs it in the background; its pid in $started.
start() {
  "$wine_run" "$@" >>"$work/output.txt" 2>&1 &
  started=$!
  pids+=("$started")
}

# saver_window PID: that process's full-screen window once it is shown
# (60 s at most). Windows that earlier cases left behind do not count.
saver_window() {
  timeout 60 xdotool search --sync --onlyvisible --pid "$1" --name '^Vesperine$' 2>/dev/null | head -n 1
}

# expect_exit PID SECONDS: the process must end within SECONDS with code 0.
expect_exit() {
  local code
  wait_exit "$1" "$2"
  code=$?
  [ "$code" = 124 ] && fail "still running after $2 s"
  [ "$code" = 0 ] || fail "exit code $code, not 0; output: $(cat "$work/output.txt")"
}

running_saver() {
  start "$@"
  saver=$started
  window=$(saver_window "$saver")
  [ -n "$window" ] || fail "no Vesperine window appeared; output: $(cat "$work/output.txt")"
  sleep 1
  kill -0 "$saver" 2>/dev/null || fail "the saver ended by itself"
}

press_key() {
  xdotool windowfocus --sync "$1" key "$2" 2>/dev/null
}

# reg_values KEY: the key's values as NAME<tab>DATA lines (a DWORD's data as
# 0x...), nothing when there is no such key. One Wine program for them all.
reg_values() {
  "$wine_run" reg query "$1" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    \([^ ]*\)    REG_[A-Z_]*    \(.*\)$/\1\t\2/p'
}

# value_of NAME: its data in reg_values lines on standard input, or nothing.
value_of() {
  awk -F '\t' -v name="$1" 'tolower($1) == tolower(name) { print $2 }'
}

reg_value() {
  reg_values "$1" | value_of "$2"
}

# expect_value VALUES NAME DATA: VALUES as reg_values gives them; compared
# without regard to case, as Windows compares paths.
expect_value() {
  local data
  data=$(value_of "$2" <<<"$1")
  [ "${data,,}" = "${3,,}" ] || fail "$2 is '$data', not '$3'"
}

# Wall-clock milliseconds, and seconds since such a reading.
now_ms() {
  echo $(($(date +%s%N) / 1000000))
}
seconds_since() {
  awk -v begin="$1" -v end="$(now_ms)" 'BEGIN { printf "%.2f", (end - begin) / 1000 }'
}

# clean_install_area: the all-users install's paths and keys as variables,
# helpers restore_desktop and nothing_left, and no install left over from a
# run that failed half-way (the tests share one Wine prefix).
clean_install_area() {
  . "$root/scripts/lib/wine.sh"
  wine_environment
  drive_c=$WINEPREFIX/drive_c
  saver_path='C:\windows\system32\Vesperine.scr'
  folder='C:\Program Files\Vesperine'
  uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesperine'
  desktop_key='HKCU\Control Panel\Desktop'
  installed=$drive_c/windows/system32/Vesperine.scr
  uninstaller="$drive_c/Program Files/Vesperine/Uninstall.exe"
  active_before=$(reg_value "$desktop_key" ScreenSaveActive)
  restore_desktop() {
    "$wine_run" reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
    if [ -n "$active_before" ]; then
      "$wine_run" reg add "$desktop_key" /v ScreenSaveActive /d "$active_before" /f >/dev/null 2>&1
    fi
  }
  nothing_left() {
    [ ! -e "$installed" ] && [ ! -e "$drive_c/Program Files/Vesperine" ] &&
      ! "$wine_run" reg query "$uninstall_key" >/dev/null 2>&1
  }
  # A run that failed half-way may have left an install in the shared prefix.
  if [ -e "$uninstaller" ]; then
    "$wine_run" "$uninstaller" /S "_?=$folder" >/dev/null 2>&1
    rm -rf "$drive_c/Program Files/Vesperine"
  fi
  rm -f "$drive_c"/windows/system32/Vesperine.scr.*.old
  restore_desktop
  nothing_left || fail "an earlier install is still there"
}

# user_install_area: the current-user install's folder (Windows and Unix
# paths) and key, none of them left over.
user_install_area() {
  user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesperine'
  user_folder="$("$wine_run" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\Programs\Vesperine"
  user_files=$("$wine_run" winepath -u "$user_folder" 2>/dev/null)
  [ -n "$user_files" ] || fail "no unix path for $user_folder"
  "$wine_run" reg delete "$user_key" /f >/dev/null 2>&1
  rm -rf "$user_files"
}

# wait_until_removed PATH...: an uninstaller goes on from a copy of itself in
# the temporary folder; its files go last but for the key in $uninstall_key.
wait_until_removed() {
  local path gone
  for _ in $(seq 300); do
    gone=1
    for path in "$@"; do
      [ -e "$path" ] && gone=0
    done
    [ "$gone" = 1 ] && break
    sleep 0.1
  done
  for _ in $(seq 20); do
    "$wine_run" reg query "$uninstall_key" >/dev/null 2>&1 || break
    sleep 0.1
  done
}

# expect_scene: the running saver's window fills the screen and shows the
# scene. The first snowflakes fall into view some seconds after the start;
# the sky must be right in every screenshot until they do.
expect_scene() {
  local screen size shot
  screen=$(xdotool getdisplaygeometry)
  size=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd' ')
  [ "$size" = "$screen" ] || fail "the window is $size, the screen $screen"
  for shot in $(seq 30); do
    import -window root -depth 8 "ppm:$work/screen.ppm" || fail "no screenshot"
    $check_frame sky "$work/screen.ppm" >/dev/null || {
      $check_frame sky "$work/screen.ppm"; fail "screenshot $shot does not show the sky"; }
    $check_frame scene "$work/screen.ppm" >/dev/null && break
    [ "$shot" = 30 ] && { $check_frame scene "$work/screen.ppm"; fail "no snowflakes came into view"; }
    sleep 1
  done
  $check_frame scene "$work/screen.ppm"
  kill -0 "$saver" 2>/dev/null || fail "the saver ended by itself"
}

# plant FOLDER MARKER NAME...: MARKER copied into FOLDER as NAME.dll each;
# Wine then takes these names from a program's folder before its own.
plant() {
  local folder=$1 marker=$2 name overrides=""
  shift 2
  mkdir -p "$folder"
  rm -f "$folder"/*.loaded
  for name in "$@"; do
    cp "$marker" "$folder/$name.dll"
    overrides="$overrides${overrides:+,}$name"
  done
  # The debugger off: a marker without exports may crash a program that
  # calls into it, and Wine's crash window would wait for an answer.
  export VESPERINE_WINEDLLOVERRIDES="$overrides=n,b;winedbg.exe=d"
}

# loaded_markers FOLDER: the names of the planted DLLs that were loaded.
loaded_markers() {
  (cd "$1" && ls -- *.dll.loaded 2>/dev/null | sed 's/\.dll\.loaded$//' | LC_ALL=C sort | paste -sd' ')
}

# control_loads FOLDER CONTROL NAME...: a copy of CONTROL in FOLDER loads
# every planted NAME; the markers are then cleared.
control_loads() {
  local folder=$1 control=$2 loaded wanted
  shift 2
  cp "$control" "$folder/"
  "$wine_run" "$folder/${control##*/}" "${@/%/.dll}" >>"$work/output.txt" 2>&1
  loaded=$(loaded_markers "$folder")
  wanted=$(printf '%s\n' "$@" | LC_ALL=C sort | paste -sd' ')
  [ "$loaded" = "$wanted" ] || fail "the control program loaded '$loaded', not '$wanted'"
  rm -f "$folder"/*.loaded "$folder/${control##*/}"
}

# expect_none_loaded FOLDER WHAT
expect_none_loaded() {
  local loaded
  loaded=$(loaded_markers "$1")
  [ -z "$loaded" ] || fail "$2 loaded the DLLs planted beside it: $loaded"
  echo "$2: none of the DLLs planted beside it loaded"
}

# DLLs that the windowing library, the GL loader and the saver load by bare
# name.
# Not shcore, version or uxtheme: Wine's own system DLLs load those by name
# while they start, before a program's first instruction, which no program
# can prevent (on Windows they come from the system folder: known DLLs and
# what those import).
saver_dlls=(dinput8 dwmapi opengl32 wtsapi32 xinput1_1 xinput1_2 xinput1_3 xinput1_4 xinput9_1_0)
# Names that installers have been caught loading by bare name from their own
# folder (often the download folder).
installer_dlls=(apphelp cryptbase dwmapi msimg32 ntmarta oleacc profapi propsys riched20 setupapi
  shfolder textshaping userenv winmm)

objdump=x86_64-w64-mingw32-objdump

# expect_pe_flags FILE: its DllCharacteristics name every protection.
expect_pe_flags() {
  local flags wanted
  flags=$($objdump -p "$1" | awk '/^DllCharacteristics/ { on = 1; next }
                                  on && /^\t+[A-Z_]+$/ { print $1; next } { on = 0 }' | paste -sd' ')
  echo "${1##*/}: $flags"
  for wanted in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT TERMINAL_SERVICE_AWARE; do
    [[ " $flags " == *" $wanted "* ]] || fail "${1##*/} lacks $wanted"
  done
}

# relocations FILE: "kept" or "stripped". Without them the system cannot
# move the image, whatever DYNAMIC_BASE says.
relocations() {
  # All of objdump's output read: grep -q would end the pipe early.
  $objdump -p "$1" | grep '^[[:space:]]*relocations stripped$' >/dev/null && echo stripped || echo kept
}

# protected_functions FILE: the functions of FILE (with its symbols) that
# call the stack protector's failure handler, one name a line.
protected_functions() {
  $objdump -d "$1" | awk '/^[0-9a-f]+ <.*>:$/ { name = $2; gsub(/[<>:]/, "", name) }
                          /call.*<__stack_chk_fail>/ { print name }' | sort -u
}

case "${1:-}" in
  draws)
    running_saver "$2" "${@:3}"
    expect_scene
    press_key "$window" a
    expect_exit "$saver" 20
    ;;
  planted-beside-saver)
    scr=$2 marker=$3 control=$4 downloads=$work/downloads
    # What the loader brings in before WinMain can restrict anything must
    # be Windows' known DLLs, which only ever come from the system folder.
    known=" advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 psapi rpcrt4 setupapi shell32 shlwapi user32 ws2_32 "
    for import in $($objdump -p "$scr" | sed -n 's/^\tDLL Name: \(.*\)\.dll$/\1/ip'); do
      [[ "$known" == *" ${import,,} "* ]] || fail "${scr##*/} imports ${import}.dll, which is no known DLL"
    done
    plant "$downloads" "$marker" "${saver_dlls[@]}"
    control_loads "$downloads" "$control" "${saver_dlls[@]}"
    cp "$scr" "$downloads/"
    running_saver "$downloads/${scr##*/}" /s
    expect_scene
    press_key "$window" a
    expect_exit "$saver" 20
    expect_none_loaded "$downloads" "${scr##*/}"
    ;;
  planted-beside-installer)
    setup=$2 marker=$3 control=$4 downloads=$work/downloads
    clean_install_area
    plant "$downloads" "$marker" "${installer_dlls[@]}"
    control_loads "$downloads" "$control" "${installer_dlls[@]}"
    cp "$setup" "$downloads/"
    "$wine_run" "$downloads/${setup##*/}" /S >>"$work/output.txt" 2>&1 || fail "the install gave exit code $?"
    [ -f "$installed" ] && [ -f "$uninstaller" ] || fail "the install put no saver or no uninstaller in place"
    expect_none_loaded "$downloads" "${setup##*/}"
    # The uninstaller where it was installed, in place (_?=): the markers
    # stay beside the program that runs.
    plant "${uninstaller%/*}" "$marker" "${installer_dlls[@]}"
    "$wine_run" "$uninstaller" /S "_?=$folder" >>"$work/output.txt" 2>&1 ||
      fail "the uninstall gave exit code $?"
    wait_until_removed "$installed"
    expect_none_loaded "${uninstaller%/*}" "${uninstaller##*/}"
    rm -rf "${uninstaller%/*}"
    restore_desktop
    nothing_left || fail "the uninstall left the file or the key"
    ;;
  protections)
    scr=$2 linked=$3 setup=$4
    shift 4
    expect_pe_flags "$scr"
    [ "$(relocations "$scr")" = kept ] || fail "${scr##*/} has no relocations"
    protected_functions "$linked" >"$work/protected"
    # Each library's functions by name, from its archive; ours are the rest
    # but the runtime's own handler.
    : >"$work/theirs"
    for library in "$@"; do
      $objdump -t "$library" | awk '$NF !~ /^\./ { print $NF }' | sort -u >"$work/names"
      count=$(comm -12 "$work/protected" "$work/names" | tee -a "$work/theirs" | wc -l)
      echo "${library##*/}: $count functions with a stack protector"
      [ "$count" -gt 0 ] || fail "no stack protector in ${library##*/}"
    done
    count=$(sort -u "$work/theirs" | comm -23 "$work/protected" - | grep -vc '^__stack_chk_fail')
    echo "our code: $count functions with a stack protector"
    [ "$count" -gt 0 ] || fail "no stack protector in our code"

    expect_pe_flags "$setup"
    clean_install_area
    "$wine_run" "$setup" /S >>"$work/output.txt" 2>&1 || fail "the install gave exit code $?"
    expect_pe_flags "$uninstaller"
    # NSIS 3.08 builds its stubs without relocations and cannot keep any.
    echo "relocations: ${setup##*/} $(relocations "$setup"), ${uninstaller##*/} $(relocations "$uninstaller")"
    "$wine_run" "$uninstaller" /S >>"$work/output.txt" 2>&1 || fail "the uninstall gave exit code $?"
    wait_until_removed "$installed" "$uninstaller"
    restore_desktop
    nothing_left || fail "the uninstall left the file or the key"
    ;;
  key-ends)
    running_saver "$2" /s
    press_key "$window" space
    expect_exit "$saver" 20
    ;;
  click-ends)
    running_saver "$2" /s
    xdotool mousemove --sync 200 200 click 3 2>/dev/null
    expect_exit "$saver" 20
    ;;
  move-keeps-running)
    running_saver "$2" /s
    xdotool mousemove --sync 100 100 sleep 0.2 mousemove --sync 300 250 2>/dev/null
    xdotool click 4 sleep 0.2 click 5 2>/dev/null
    sleep 2
    kill -0 "$saver" 2>/dev/null || fail "the saver ended on a mouse move or the wheel"
    press_key "$window" Escape
    expect_exit "$saver" 20
    ;;
  second-refused)
    running_saver "$2"
    first=$saver
    begin=$(date +%s)
    timeout 30 "$wine_run" "$2" >>"$work/output.txt" 2>&1
    code=$?
    [ "$code" = 0 ] || fail "the second run gave exit code $code"
    [ $(($(date +%s) - begin)) -le 10 ] || fail "the second run did not end at once"
    windows=$(xdotool search --onlyvisible --name '^Vesperine$' 2>/dev/null | wc -l)
    [ "$windows" = 1 ] || fail "$windows saver windows, not 1"
    kill -0 "$first" 2>/dev/null || fail "the first run ended"
    press_key "$window" a
    expect_exit "$first" 20
    ;;
  fatal)
    boxes=$2 expected=${4:-}
    [ -n "$expected" ] && export VESPERINE_WINEDEBUG=-all,trace+msgbox
    # Under start.exe, whose exit code is the one Windows gives the saver:
    # the wineserver sends SIGKILL to each process it counts as ended, and a
    # saver whose Unix side is still on its way out then reports 137 to the
    # shell whatever it returned. The boxes are found by name, as the cases
    # run one at a time.
    start start /wait /b /unix "$3" /s
    program=$started
    answered=" "
    for n in $(seq "$boxes"); do
      box=""
      for _ in $(seq 600); do
        for id in $(xdotool search --onlyvisible --name '^Debug$' 2>/dev/null); do
          case "$answered" in *" $id "*) ;; *) box=$id ;; esac
        done
        [ -n "$box" ] && break
        kill -0 "$program" 2>/dev/null || fail "ended before box $n of $boxes"
        sleep 0.1
      done
      [ -n "$box" ] || fail "box $n of $boxes did not appear"
      # A key sent the moment a box maps can still reach the saver's own
      # window or its press watch, and any key there ends the run.
      sleep 0.5
      press_key "$box" Return
      answered="$answered$box "
    done
    expect_exit "$program" 30
    if [ -n "$expected" ]; then
      grep -aqF "MSGBOX_OnInit L\"$expected" "$work/output.txt" ||
        fail "no box began with \"$expected\"; output: $(cat "$work/output.txt")"
    fi
    ;;
  display-released)
    [ "${3:-}" = software ] && unset VESPERINE_GL_RENDERER # llvmpipe judged as it is: a reopen
    VESPERINE_WINEDEBUG=warn+ntdll running_saver "$2" /s
    # Frames begin once every window that took the monitor is open.
    for shot in $(seq 30); do
      import -window root -depth 8 "ppm:$work/screen.ppm" && $check_frame sky "$work/screen.ppm" >/dev/null && break
      [ "$shot" = 30 ] && fail "no frame drawn"
      sleep 1
    done
    states=$(sed -n 's/.*NtSetThreadExecutionState (\(0x[0-9a-fA-F]*\).*/\1/p' "$work/output.txt")
    [ -n "$states" ] || fail "no execution state was traced; output: $(tail -5 "$work/output.txt")"
    echo "execution states traced: $(echo $states)"
    last=$(echo "$states" | tail -n 1)
    [ $((last & 0x2)) = 0 ] || fail "the display is still held: last state $last"
    window=$(saver_window "$saver") # the reopened one
    press_key "$window" a
    expect_exit "$saver" 20
    ;;
  same-frame)
    linux=$(realpath -m "$2") windows=$(realpath -m "$3")
    if [ ! -x "$linux" ]; then
      echo "SKIP: no Linux build of frame_at_time at $linux (scripts/build linux)"
      exit 77
    fi
    # At 9 s the particles of the set-up are well in view.
    (cd "$work" && "$linux" 9.0 linux.ppm >/dev/null 2>&1) || fail "the Linux frame failed"
    (cd "$work" && "$wine_run" "$windows" 9.0 windows.ppm >/dev/null 2>&1) || fail "the Windows frame failed"
    $check_frame same "$work/linux.ppm" "$work/windows.ppm" || fail "the frames differ"
    ;;
  manifest-and-icons)
    manifest=$(wrestool -x --raw -t 24 -n 1 "$2") || fail "no manifest in $2"
    echo "$manifest"
    for wanted in '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' \
        '>PerMonitorV2</dpiAwareness>' '>true/pm</dpiAware>' \
        'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
        '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' \
        '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
      grep -qF "$wanted" <<<"$manifest" || fail "the manifest lacks $wanted"
    done
    for group in 102 113; do
      wrestool -x -t 14 -n "$group" "$2" >"$work/$group.ico" || fail "no icon group $group"
      sizes=$(icotool -l "$work/$group.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -nu | paste -sd' ')
      echo "icon group $group: $sizes"
      [ "$sizes" = "16 20 24 32 40 48 64 256" ] || fail "icon group $group holds $sizes"
      # Windows expects the 256-pixel image as PNG; it is the only one.
      grep -qaF $'\x89PNG' "$work/$group.ico" || fail "the 256-pixel icon is not PNG-compressed"
    done
    ;;
  installer-cycle)
    setup=$2 shipped=$3 version=$4 website=$5
    clean_install_area

    expect_installed() {
      cmp -s "$installed" "$shipped" || fail "system32 holds no copy of $shipped"
      [ -f "$uninstaller" ] || fail "no uninstaller in $folder"
      cmp -s "${uninstaller%/*}/THIRD-PARTY-NOTICES.txt" "${shipped%/*}/THIRD-PARTY-NOTICES.txt" ||
        fail "no third-party notices beside the uninstaller"
      local app desktop kib files_kib
      app=$(reg_values "$uninstall_key")
      desktop=$(reg_values "$desktop_key")
      expect_value "$app" DisplayName Vesperine
      expect_value "$app" DisplayVersion "$version"
      expect_value "$app" Publisher Vesperine
      expect_value "$app" DisplayIcon "$saver_path,0"
      expect_value "$app" InstallLocation "$folder"
      expect_value "$app" UninstallString "\"$folder\\Uninstall.exe\""
      expect_value "$app" QuietUninstallString "\"$folder\\Uninstall.exe\" /S"
      expect_value "$app" URLInfoAbout "$website"
      expect_value "$app" NoModify 0x1
      expect_value "$app" NoRepair 0x1
      kib=$(($(value_of EstimatedSize <<<"$app")))
      files_kib=$((($(stat -c %s "$installed") + $(stat -c %s "$uninstaller") +
        $(stat -c %s "${uninstaller%/*}/THIRD-PARTY-NOTICES.txt") + 1023) / 1024))
      [ "$kib" = "$files_kib" ] || fail "EstimatedSize is $kib KiB, the files take $files_kib KiB"
      expect_value "$desktop" SCRNSAVE.EXE "$saver_path"
      expect_value "$desktop" ScreenSaveActive 1
    }

    begin=$(now_ms)
    "$wine_run" "$setup" /S >>"$work/output.txt" 2>&1 || fail "the install gave exit code $?"
    echo "silent install: $(seconds_since "$begin") s"
    expect_installed
    # The saver that the settings name runs from there, and a key ends it.
    running_saver "$(reg_value "$desktop_key" SCRNSAVE.EXE)" /s
    press_key "$window" space
    expect_exit "$saver" 20

    # Over an older install: the file and the keys are replaced in place.
    echo "an older saver" >"$installed"
    "$wine_run" reg add "$uninstall_key" /v DisplayVersion /d 0.9.0 /f >/dev/null 2>&1
    begin=$(now_ms)
    "$wine_run" "$setup" /S >>"$work/output.txt" 2>&1 || fail "the upgrade gave exit code $?"
    echo "silent upgrade: $(seconds_since "$begin") s"
    expect_installed
    [ "$(ls "$drive_c/Program Files/Vesperine" | paste -sd' ')" = "THIRD-PARTY-NOTICES.txt Uninstall.exe" ] ||
      fail "more than the notices and the uninstaller in $folder"

    # As Installed apps runs it. The uninstaller goes on from a copy of itself
    # in the temporary folder, so wait for its work to show.
    cp "$uninstaller" "$work/Uninstall.exe"
    quiet=$(reg_value "$uninstall_key" QuietUninstallString)
    program=${quiet% /S}
    program=${program#\"}
    program=${program%\"}
    begin=$(now_ms)
    "$wine_run" "$program" /S >>"$work/output.txt" 2>&1 || fail "the uninstall gave exit code $?"
    wait_until_removed "$installed" "$uninstaller"
    echo "silent uninstall: $(seconds_since "$begin") s"
    nothing_left || fail "the uninstall left the file, the folder or the key"
    [ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE still names the removed saver"

    # Once more over nothing, with another saver chosen: it stays chosen.
    other='C:\windows\system32\Other.scr'
    "$wine_run" reg add "$desktop_key" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
    "$wine_run" "$work/Uninstall.exe" /S "_?=$folder" >>"$work/output.txt" 2>&1 ||
      fail "the second uninstall gave exit code $?"
    nothing_left || fail "the second uninstall left something behind"
    expect_value "$(reg_values "$desktop_key")" SCRNSAVE.EXE "$other"
    restore_desktop
    ;;
  upgrade-while-running)
    setup=$2 shipped=$3 other=$4
    clean_install_area
    "$wine_run" "$setup" /S >>"$work/output.txt" 2>&1 || fail "the install gave exit code $?"
    # Another build of the saver (same behaviour, other bytes) runs from the
    # system folder and holds its file.
    cp "$other" "$installed"
    running_saver "$saver_path" /s
    old=$saver
    begin=$(now_ms)
    timeout 120 "$wine_run" "$setup" /S >>"$work/output.txt" 2>&1 || fail "the upgrade gave exit code $?"
    echo "silent upgrade over a running saver: exit code 0 in $(seconds_since "$begin") s"
    kill -0 "$old" 2>/dev/null || fail "the running saver ended"
    cmp -s "$installed" "$shipped" || fail "system32 does not hold the new saver"
    aside=("$drive_c"/windows/system32/Vesperine.scr.*.old)
    [ -e "${aside[0]}" ] || fail "no old saver put aside"
    cmp -s "${aside[0]}" "$other" || fail "${aside[0]} is not the old saver"
    echo "put aside: ${aside[0]##*/}"
    pending=$("$wine_run" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
      /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
    grep -qiF "${aside[0]##*/}" <<<"$pending" || fail "its deletion is not booked for the next restart"
    press_key "$window" space
    expect_exit "$old" 20
    # Started afterwards from the system folder: the new file.
    running_saver "$saver_path" /s
    press_key "$window" space
    expect_exit "$saver" 20
    "$wine_run" "$uninstaller" /S >>"$work/output.txt" 2>&1 || fail "the uninstall gave exit code $?"
    wait_until_removed "$installed" "$uninstaller"
    nothing_left || fail "the uninstall left something behind"
    [ ! -e "${aside[0]}" ] || fail "the uninstall left the old saver"
    restore_desktop
    ;;
  current-user-cycle)
    setup=$2 shipped=$3
    clean_install_area
    user_install_area
    begin=$(now_ms)
    "$wine_run" "$setup" /S /CurrentUser >>"$work/output.txt" 2>&1 || fail "the install gave exit code $?"
    echo "silent current-user install: $(seconds_since "$begin") s"
    cmp -s "$user_files/Vesperine.scr" "$shipped" || fail "$user_folder holds no copy of $shipped"
    nothing_left || fail "the current-user install wrote to the system folder, Program Files or HKLM"
    app=$(reg_values "$user_key")
    expect_value "$app" DisplayName Vesperine
    expect_value "$app" InstallLocation "$user_folder"
    expect_value "$app" DisplayIcon "$user_folder\Vesperine.scr,0"
    expect_value "$app" UninstallString "\"$user_folder\Uninstall.exe\""
    expect_value "$(reg_values "$desktop_key")" SCRNSAVE.EXE "$user_folder\Vesperine.scr"
    # It runs from there; a key ends it.
    running_saver "$(reg_value "$desktop_key" SCRNSAVE.EXE)" /s
    press_key "$window" space
    expect_exit "$saver" 20
    quiet=$(reg_value "$user_key" QuietUninstallString)
    program=${quiet% /S}
    program=${program#\"}
    program=${program%\"}
    "$wine_run" "$program" /S >>"$work/output.txt" 2>&1 || fail "the uninstall gave exit code $?"
    uninstall_key=$user_key
    wait_until_removed "$user_files"
    [ ! -e "$user_files" ] || fail "the uninstall left $user_folder: $(ls "$user_files")"
    ! "$wine_run" reg query "$user_key" >/dev/null 2>&1 || fail "the uninstall left the HKCU entry"
    [ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE still names the removed saver"
    restore_desktop
    ;;
  signed-release)
    (cd "$work" &&
      openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
        -subj "/CN=Vesperine test" 2>/dev/null &&
      openssl pkcs12 -export -inkey key.pem -in cert.pem -out test.p12 -passout pass:test-only) ||
      fail "no test certificate"
    VESPERINE_SIGN_PKCS12=$work/test.p12 VESPERINE_SIGN_PASSWORD=test-only VESPERINE_RELEASE_DIR=$work/out \
      "$root/scripts/release" || fail "the signed release failed"
    unzip -q -d "$work/zip" "$work/out/Vesperine.zip" Vesperine.scr THIRD-PARTY-NOTICES.txt ||
      fail "no saver or no notices in the zip"
    one_signature() {
      local report
      report=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$1" 2>&1)
      grep -q '^Number of verified signatures: 1$' <<<"$report" && grep -q '^Succeeded$' <<<"$report" ||
        fail "$1: not one valid signature: $report"
      echo "${1##*/}: one valid signature"
    }
    one_signature "$work/zip/Vesperine.scr"
    one_signature "$work/out/Vesperine-Setup.exe"
    clean_install_area
    user_install_area
    "$wine_run" "$work/out/Vesperine-Setup.exe" /S /CurrentUser >>"$work/output.txt" 2>&1 ||
      fail "the signed installer gave exit code $?"
    one_signature "$user_files/Uninstall.exe"
    cmp -s "$user_files/Vesperine.scr" "$work/zip/Vesperine.scr" || fail "the installer holds another saver"
    running_saver "$user_files/Vesperine.scr" /s
    press_key "$window" space
    expect_exit "$saver" 20
    uninstall_key=$user_key
    "$wine_run" "$user_files/Uninstall.exe" /S >>"$work/output.txt" 2>&1 || fail "the uninstall gave exit code $?"
    wait_until_removed "$user_files"
    restore_desktop
    ;;
  *)
    sed -n '2,27p' "$0" >&2
    exit 2
    ;;
esac
echo "PASS"
