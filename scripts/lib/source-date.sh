# Sourced by the build scripts: every date a built file carries is the last
# commit's (SOURCE_DATE_EPOCH, as reproducible-builds.org defines it), so two
# builds of one commit give the same bytes whenever and wherever they run. A
# caller's own value wins; outside a git checkout it stays unset.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$(dirname "${BASH_SOURCE[0]}")" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=
fi
if [ -n "$SOURCE_DATE_EPOCH" ]; then
  export SOURCE_DATE_EPOCH
else
  unset SOURCE_DATE_EPOCH
fi
