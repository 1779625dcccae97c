#!/usr/bin/env bash
# Two builds of one commit give the same bytes. The artifacts of the source
# folder's own build (make package, make windows, make release) are set
# against those of a copy of the same sources in another folder, built there
# under umask 077, another time zone and a later clock. Each pair is
# compared with cmp; for a pair that differs diffoscope says where.
#   twice.sh SOURCE-DIR COPY-DIR
# COPY-DIR is made anew each run; its build trees hold the product alone,
# without the tests.
set -uo pipefail
src=$(cd "$1" && pwd)
copy=$(mkdir -p "$2" && cd "$2" && pwd)
fail() { echo "$*" >&2; exit 1; }
one=$(mktemp -d)
trap 'rm -rf "$one"' EXIT

echo "== this folder's artifacts"
"$src/scripts/package" "$one" >/dev/null || fail "scripts/package failed in $src"
# The Windows half where this folder has a Windows tree (scripts/test linux
# builds none), brought up to date first.
targets=(package)
if [ -f "$src/build/windows/build.ninja" ]; then
  targets+=(windows release)
  cmake --build "$src/build/windows" --target windows_installer >/dev/null || fail "the Windows build failed in $src"
  VESPERINE_RELEASE_DIR=$one "$src/scripts/release" >/dev/null || fail "scripts/release failed in $src"
else
  echo "no Windows tree in $src: the Linux artifacts only"
fi

echo "== the same sources in $copy, umask 077, TZ=Pacific/Chatham"
rm -rf "$copy" && mkdir -p "$copy" || fail "cannot make $copy anew"
# Tracked and new files as the source folder has them, the git folder for
# the commit's date, and the Windows libraries scripts/windows-deps built.
# A fresh build each time: ccache (which scripts/build uses where it is
# installed) makes it cheap from the second run on, as the path stays.
(cd "$src" && git ls-files -z --cached --others --exclude-standard |
  tar --null -T - -cf - .git third_party/windows/prefix third_party/windows/src) |
  (umask 077 && tar -xf - -C "$copy") || fail "copying the sources failed"
(umask 077 && cd "$copy" && TZ=Pacific/Chatham VESPERINE_TESTS=OFF make -s "${targets[@]}" >"$copy/make.log" 2>&1) ||
  { tail -n 30 "$copy/make.log" >&2; fail "the second build failed"; }

differ=0
compare() { # NAME FILE-HERE FILE-THERE
  if cmp -s "$2" "$3"; then
    echo "identical: $1"
  else
    echo "DIFFERENT: $1"
    diffoscope --text - "$2" "$3" | head -n 80
    differ=1
  fi
}
deb=$(cd "$one" && ls vesperine_*.deb)
compare "Linux executable" "$src/build/linux/vesperine" "$copy/build/linux/vesperine"
compare "$deb" "$one/$deb" "$copy/build/$deb"
if [ ${#targets[@]} -gt 1 ]; then
  compare "Vesperine.scr (linked)" "$src/build/windows/Vesperine.scr" "$copy/build/windows/Vesperine.scr"
  compare "Vesperine.scr (shipped)" "$src/build/windows/dist/Vesperine.scr" "$copy/build/windows/dist/Vesperine.scr"
  compare "Vesperine-Setup.exe" "$one/Vesperine-Setup.exe" "$copy/build/Vesperine-Setup.exe"
  compare "Vesperine.zip" "$one/Vesperine.zip" "$copy/build/Vesperine.zip"
fi
[ $differ = 0 ] || fail "the two builds differ"
