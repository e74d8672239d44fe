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

# The desktop entry is valid and opens files with the program; the manual page formats without
# warnings and carries the program's version.
desktop=$work/prefix/share/applications/brontel.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate brontel.desktop"
grep -qx 'Exec=brontel %F' "$desktop" && grep -qx 'MimeType=text/x-log;' "$desktop" ||
  fail "brontel.desktop: Exec or MimeType"
[ -f "$work/prefix/share/icons/hicolor/scalable/apps/brontel.svg" ] || fail "the icon"
manual=$work/prefix/share/man/man1/brontel.1.gz
version=$("$work/prefix/bin/brontel" --version) || fail "brontel --version"
# The licence and the changelog, whose newest entry is the program's version.
docs=$work/prefix/share/doc/brontel
grep -q '^License: Expat' "$docs/copyright" || fail "doc/brontel/copyright"
gzip -dc "$docs/changelog.gz" | head -n 1 | grep -qF "brontel (${version#brontel }) " ||
  fail "doc/brontel/changelog.gz does not begin with $version"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" > "$work/man.txt" 2> "$work/man.err" ||
  fail "man brontel"
[ ! -s "$work/man.err" ] || fail "manual page warnings: $(cat "$work/man.err")"
grep -q -- "--types" "$work/man.txt" && grep -q "EXIT STATUS" "$work/man.txt" ||
  fail "manual page content"
grep -q "${version#brontel }" "$work/man.txt" || fail "manual page version ($version)"
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
