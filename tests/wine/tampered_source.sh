#!/usr/bin/env bash
# scripts/windows-deps on a copy of the source cache in which one byte of
# GLFW's tarball has changed: one line on standard error names the file,
# the exit code is 1 and nothing is built. The same copy unchanged passes
# the check, so the refusal is the tarball's doing.
#   tampered_source.sh PROJECT_ROOT
# Exit code 0 pass, 1 fail, 77 skipped (no source cache yet).
set -uo pipefail
root=$1
cache=$root/third_party/windows
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
ls "$cache"/src/glfw3_*.dsc >/dev/null 2>&1 || { echo "SKIP: no source cache (scripts/windows-deps)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/src" "$work/apt"
find "$cache/src" -maxdepth 1 -type f -exec cp {} "$work/src/" \;
cp -a "$cache/apt/lists" "$cache/apt/sources" "$work/apt/"
dsc=$(ls "$work"/src/glfw3_*.dsc | sort -V | tail -n 1)
keyring=$(sed -n 's/^Signed-By: *//p' "$work/apt/sources/debian-src.sources")
"$root/scripts/lib/check-debian-source" "$work/apt/lists" "${keyring:-/usr/share/keyrings/debian-archive-keyring.gpg}" "$dsc" ||
  fail "the untouched copy does not pass the check"

tarball=$(ls "$work"/src/glfw3_*.orig.tar.* | sort -V | tail -n 1)
printf 'x' | dd of="$tarball" bs=1 seek=1000 conv=notrunc status=none
VESPERINE_WINDOWS_DEPS=$work "$root/scripts/windows-deps" >"$work/out" 2>"$work/err"
code=$?
cat "$work/err"
[ "$code" = 1 ] || fail "exit code $code, not 1"
[ "$(wc -l <"$work/err")" = 1 ] || fail "not one line on standard error"
grep -qF "${tarball##*/} does not match" "$work/err" || fail "the line does not name ${tarball##*/}"
[ ! -e "$work/prefix/.complete" ] && [ ! -e "$work/build" ] || fail "something was built"
