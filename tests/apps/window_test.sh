#!/bin/sh
# brontel FILE... hosting the Qt brontel.wlx, on the offscreen platform: a window per file, the
# viewer closed through the entry points when the windows go (so its options are saved), and a
# file the module declines reported with exit code 2.
set -eu
brontel=$1
module=$2
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen DISPLAY=:offscreen XDG_RUNTIME_DIR="$work"

cp "$here/sample.log" "$work/a.log"
cp "$here/sample.log" "$work/b.log"
"$brontel" --module "$module" --settings "$work/settings" --seconds 2 "$work/a.log" "$work/b.log" ||
  fail "two windows: exit code $?"
grep -q '^Options.Active=1' "$work/settings/brontel.ini" || fail "options not saved on close"

# A preset for the run: the module reads its types, brontel.ini gets none of them.
"$brontel" --module "$module" --settings "$work/settings" --seconds 1 --types log4j "$work/a.log" ||
  fail "--types log4j: exit code $?"
! grep -qi 'msgtypes' "$work/settings/brontel.ini" || fail "--types wrote message types"

cp "$here/sample.log" "$work/c.txt"
status=0
"$brontel" --module "$module" --settings "$work/settings" --seconds 1 "$work/c.txt" \
  2> "$work/err.txt" || status=$?
[ "$status" -eq 2 ] || fail "declined file: exit code $status"
grep -q 'c.txt' "$work/err.txt" || fail "declined file: no message"
"$brontel" --module "$module" --settings "$work/settings" --seconds 1 --force "$work/c.txt" ||
  fail "forced file: exit code $?"

status=0
"$brontel" --module "$work/none.wlx" --seconds 1 "$work/a.log" 2> "$work/err.txt" || status=$?
[ "$status" -eq 1 ] && grep -q 'none.wlx' "$work/err.txt" || fail "missing module"

cmp "$here/sample.log" "$work/a.log"
echo "brontel windows: all checks passed"
