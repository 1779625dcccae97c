#!/usr/bin/env bash
# The Debian package, built with CPack from the test's build tree: the file
# name carries the project version, the files are where Debian and
# XScreenSaver look for them, the library dependencies came from
# dpkg-shlibdeps, lintian --pedantic finds nothing, the settings description
# is well-formed XML, desktop-file-validate accepts the MATE/Xfce entry and
# hardening-check passes the program. Unpacks the package into UNPACKED for
# the next test.
#   package.sh BUILD-TREE UNPACKED
set -uo pipefail
tree=$1
unpacked=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*" >&2; exit 1; }

cpack --config "$tree/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$tree/CPackConfig.cmake")
deb="$work/vesperine_${version}_amd64.deb"
[ -n "$version" ] && [ -f "$deb" ] || fail "no vesperine_${version}_amd64.deb: $(ls "$work")"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"

dpkg-deb -c "$deb" | awk '{ print $6 $7 $8 }' >"$work/contents"
for file in ./usr/bin/vesperine './usr/libexec/xscreensaver/vesperine->../../bin/vesperine' \
            ./usr/share/xscreensaver/config/vesperine.xml ./usr/share/man/man6/vesperine.6.gz \
            ./usr/share/doc/vesperine/copyright ./usr/share/doc/vesperine/changelog.gz \
            ./usr/share/doc/vesperine/README.Debian ./usr/share/applications/screensavers/vesperine.desktop; do
  grep -qxF -- "$file" "$work/contents" || fail "the package lacks $file"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libglfw3 libx11-6; do
  [[ $depends == *"$library ("* || $depends == *"$library,"* || $depends == *"$library" ]] ||
    fail "Depends lacks $library: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ $recommends == *xfonts-75dpi* ]] || fail "no Recommends of the Helvetica fonts: $recommends"
[[ $recommends == *xdg-utils* ]] || fail "no Recommends of xdg-open: $recommends"

lintian --pedantic --fail-on warning "$deb" >"$work/lintian.log" 2>&1
status=$?
grep -v 'root privileges' "$work/lintian.log"
[ $status = 0 ] || fail "lintian reports warnings"

rm -rf "$unpacked"
dpkg -x "$deb" "$unpacked" || fail "dpkg -x failed"
# XScreenSaver's settings pane shows the description's last paragraph as its
# credit line: it must be the "Written by ...; YEAR." line, with the
# website's address in a paragraph before it.
/usr/bin/python3 - "$unpacked/usr/share/xscreensaver/config/vesperine.xml" <<'PY' || fail "vesperine.xml is not the settings description"
import re, sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
paragraphs = [p.strip() for p in root.find("_description").text.strip().split("\n\n")]
sys.exit(root.tag != "screensaver" or root.find("command").get("arg") != "--root" or
         not re.fullmatch(r"Written by [^;\n]+; [0-9]{4}\.", paragraphs[-1]) or
         not any("https://" in p for p in paragraphs[1:-1]))
PY
desktop-file-validate "$unpacked/usr/share/applications/screensavers/vesperine.desktop" ||
  fail "desktop-file-validate refuses the screensaver entry"
# The copyright file covers what the linker put into the program: the code
# compiled in, and meshoptimizer unless it is a shared library of its own.
copyright=$unpacked/usr/share/doc/vesperine/copyright
grep -q 'stb_image' "$copyright" && grep -q 'glad' "$copyright" || fail "the copyright file lacks code compiled in"
if ! readelf -d "$unpacked/usr/bin/vesperine" | grep -q 'NEEDED.*libmeshoptimizer'; then
  grep -qi 'meshoptimizer.*MIT\|Files: meshoptimizer' "$copyright" || fail "meshoptimizer is linked in, its licence is not in the copyright file"
fi
# The distribution's protections, in the built and in the packaged program.
# Control-flow protection (CET) only where the C library's start files carry
# it: the linker marks a program only when every object in it is marked.
spared=(--nocfprotection)
readelf -nW "$(gcc -print-file-name=Scrt1.o)" | grep -q 'IBT' && spared=()
[ ${#spared[@]} = 0 ] || echo "no CET: $(gcc -print-file-name=Scrt1.o) is not marked for it"
# Branch protection (BTI, PAC) exists on arm64 only; newer hardening-check
# asks for it on every architecture.
if [ "$(dpkg --print-architecture)" != arm64 ] && [[ $(hardening-check --help 2>&1) == *--nobranchprotection* ]]; then
  spared+=(--nobranchprotection)
fi
hardening-check "${spared[@]}" "$tree/vesperine" "$unpacked/usr/bin/vesperine" || fail "hardening-check refuses the program"
gzip -dc "$unpacked/usr/share/doc/vesperine/changelog.gz" | head -n 1 | grep -qF "vesperine ($version)" ||
  fail "the changelog does not start with this version"
exit 0
