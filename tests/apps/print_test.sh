#!/bin/sh
# brontel --print shows the tail view exactly: history block, separator, tail lines, footer.
set -eu
brontel=$1
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/sample.log" "$work/sample.log"
"$brontel" --print --settings "$work/settings" "$work/sample.log" > "$work/out.txt"
diff -u "$here/print_expected.txt" "$work/out.txt"
test -f "$work/settings/brontel.ini"
# The log is only read.
cmp "$here/sample.log" "$work/sample.log"
