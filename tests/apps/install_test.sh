#!/bin/sh
# cmake --install puts the program and the Qt module where the program finds them.
set -eu
build=$1
with_module=$2
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" > /dev/null
[ -x "$work/prefix/bin/brontel" ] || fail "bin/brontel"
"$work/prefix/bin/brontel" --print --settings "$work/settings" "$here/sample.log" |
  diff -u "$here/print_expected.txt" -
# The presets are installed, and the installed program lists them from there.
for preset in log4j python syslog web windows; do
  [ -f "$work/prefix/share/brontel/types/$preset.ini" ] || fail "share/brontel/types/$preset.ini"
done
"$work/prefix/bin/brontel" --types list | grep -q '^log4j ' || fail "brontel --types list"
if [ "$with_module" = ON ]; then
  [ -f "$work/prefix/lib/brontel/brontel.wlx" ] || fail "lib/brontel/brontel.wlx"
  # The installed program loads the installed module, not the build's.
  QT_QPA_PLATFORM=offscreen DISPLAY=:offscreen XDG_RUNTIME_DIR="$work" LD_DEBUG=files \
    "$work/prefix/bin/brontel" --settings "$work/settings" --seconds 1 "$here/sample.log" \
    2> "$work/loader.txt" || fail "installed program with its module"
  grep -q "file=$work/prefix/lib/brontel/brontel.wlx .*dynamically loaded" "$work/loader.txt" ||
    fail "the installed program did not load the installed module"
fi
echo "install: all checks passed"
