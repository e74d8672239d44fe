#!/bin/sh
# brontel --print: the exact tail and complete views, the settings it creates and never saves,
# the force-show bit, a file it declines, colours and the status line.
set -eu
brontel=$1
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cp "$here/sample.log" "$work/sample.log"
settings="$work/settings"

# The tail view: history block, separator, tail lines, footer.
"$brontel" --print --settings "$settings" "$work/sample.log" > "$work/out.txt"
diff -u "$here/print_expected.txt" "$work/out.txt"

# A missing settings file is created with the two default associations.
printf '[EXT]\r\n.log=10\r\n.=10\r\n' > "$work/expected.ini"
cmp "$work/expected.ini" "$settings/brontel.ini" || fail "brontel.ini as created"

# The complete view: history, separator with the history count, all lines; no footer.
"$brontel" --print --complete --settings "$settings" "$work/sample.log" > "$work/out.txt"
diff -u "$here/print_complete_expected.txt" "$work/out.txt"
# Switching to the complete load saved nothing.
cmp "$work/expected.ini" "$settings/brontel.ini" || fail "a print run saved its options"

# A file whose extension is not associated: a message, nothing printed, exit code 2 ...
cp "$here/sample.log" "$work/sample.txt"
status=0
"$brontel" --print --settings "$settings" "$work/sample.txt" > "$work/out.txt" 2> "$work/err.txt" ||
  status=$?
[ "$status" -eq 2 ] || fail "unassociated file: exit code $status"
[ ! -s "$work/out.txt" ] || fail "unassociated file: printed something"
grep -q 'sample.txt' "$work/err.txt" || fail "unassociated file: no message"

# ... unless forced; the status text comes first with --status.
"$brontel" --print --force --status --settings "$settings" "$work/sample.txt" > "$work/out.txt"
head -n 1 "$work/out.txt" | grep -q '^sample.txt  \[74 Bytes\] \[.*\] \[Buffer:20 KB\]$' ||
  fail "status line: $(head -n 1 "$work/out.txt")"
tail -n +2 "$work/out.txt" | diff -u "$here/print_expected.txt" -

# Colours: an error line in white on red, bold.
"$brontel" --print --ansi --settings "$settings" "$work/sample.log" > "$work/out.txt"
esc=$(printf '\033')
head -n 1 "$work/out.txt" |
  grep -q "^${esc}\[0m${esc}\[1m${esc}\[38;2;255;255;255m${esc}\[48;2;255;0;0mE   disk full${esc}\[0m$" ||
  fail "colours of the error line"

# A filter: the body shows the counted lines, a gap line where lines were left out between
# them, while the history, the separator and the footer count every line.
"$brontel" --print --only COUNTED --context 0 --settings "$settings" "$work/sample.log" \
  > "$work/out.txt"
printf '%s\n' 'E   disk full' 'W   slow answer' \
  '|   Error:2, Warning:1, History:2' 'E   disk full' '|   ...' 'W   slow answer' \
  'E   disk full' '|   Error:2, Warning:1, Lines:5' | diff -u - "$work/out.txt"
"$brontel" --print --filter-out 'disk|plain' --status --settings "$settings" \
  "$work/sample.log" > "$work/out.txt"
head -n 1 "$work/out.txt" | grep -q ' \[filter: 2 of 5 lines\]$' || fail "filter status"
sed -n '5,7p' "$work/out.txt" > "$work/body.txt"
printf '%s\n' 'I   service started' '|   ...' 'W   slow answer' | diff -u - "$work/body.txt"
# A bad expression is refused with the engine's reason.
status=0
"$brontel" --print --filter '(disk' --settings "$settings" "$work/sample.log" \
  > "$work/out.txt" 2> "$work/err.txt" || status=$?
[ "$status" -eq 2 ] || fail "bad expression: exit code $status"
grep -q 'refused' "$work/err.txt" || fail "bad expression: no message"
cmp "$work/expected.ini" "$settings/brontel.ini" || fail "a print run saved its filter"

# Arguments that make no sense: usage on standard error, exit code 2.
status=0
"$brontel" --print > "$work/out.txt" 2> "$work/err.txt" || status=$?
[ "$status" -eq 2 ] && grep -q '^usage:' "$work/err.txt" || fail "usage"

# The log is only read.
cmp "$here/sample.log" "$work/sample.log"
echo "brontel --print: all checks passed"
