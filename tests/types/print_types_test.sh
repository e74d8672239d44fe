#!/bin/sh
# brontel --print --types NAME on a log of each preset's format: the history block, the counts
# of the separator and footer lines; the user's brontel.ini stays as it was; names and files
# that give no working types are refused.
set -eu
brontel=$1
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

settings="$work/settings"
mkdir -p "$settings"
printf '[EXT]\r\n.log=10\r\n.=10\r\n[MsgTypes]\r\nCount=1\r\nItem0=Own\r\n' > "$settings/brontel.ini"
cp "$settings/brontel.ini" "$work/before.ini"

for preset in log4j python syslog web windows; do
  "$brontel" --print --types "$preset" --settings "$settings" "$here/samples/$preset.log" \
    > "$work/out.txt"
  { sed -n '1,/^|   .*History:/p' "$work/out.txt"; tail -n 1 "$work/out.txt"; } |
    diff -u "$here/samples/$preset.expected" - || fail "$preset"
done
cmp "$work/before.ini" "$settings/brontel.ini" || fail "brontel.ini changed"

# A preset's file works as well as its name; the error line in white on red, bold.
"$brontel" --print --ansi --types "$here/../../types/log4j.ini" --settings "$settings" \
  "$here/samples/log4j.log" > "$work/out.txt"
esc=$(printf '\033')
grep -q "^${esc}\[0m${esc}\[1m${esc}\[38;2;255;255;255m${esc}\[48;2;255;0;0m2024-05-17 12:00:02,900 ERROR" \
  "$work/out.txt" || fail "colours of the error line"

"$brontel" --types list > "$work/list.txt"
[ "$(cut -d' ' -f1 "$work/list.txt" | tr '\n' ' ')" = \
  "generic glog json log4j logfmt monolog mysql postgresql python syslog web windows " ] ||
  fail "--types list: $(cat "$work/list.txt")"

status=0
"$brontel" --print --types nosuch --settings "$settings" "$here/samples/web.log" \
  > "$work/out.txt" 2> "$work/err.txt" || status=$?
[ "$status" -eq 2 ] && [ ! -s "$work/out.txt" ] && grep -q 'nosuch' "$work/err.txt" ||
  fail "unknown preset: exit code $status"
printf '[MsgTypes]\nCount=1\nItem0=A\n[MsgTypes.A]\nExprCount=1\nExpr0=a(b\n' > "$work/bad.ini"
status=0
"$brontel" --print --types "$work/bad.ini" --settings "$settings" "$here/samples/web.log" \
  > "$work/out.txt" 2> "$work/err.txt" || status=$?
[ "$status" -eq 1 ] && [ ! -s "$work/out.txt" ] && grep -q 'does not compile' "$work/err.txt" ||
  fail "broken types file: exit code $status"
# Without --types each viewer chooses: by the name (syslog), by the first lines (a glog log
# named app.log); the status line names the choice, the errors are pinned as with --types.
fresh="$work/fresh"
mkdir -p "$fresh" "$work/logs"
cp "$here/samples/syslog.log" "$work/logs/syslog"
"$brontel" --print --status --force --settings "$fresh" "$work/logs/syslog" > "$work/out.txt"
head -n 1 "$work/out.txt" | grep -q ' \[types: syslog\]$' ||
  fail "choice by name: $(head -n 1 "$work/out.txt")"
{ sed -n '2,/^|   .*History:/p' "$work/out.txt"; tail -n 1 "$work/out.txt"; } |
  diff -u "$here/samples/syslog.expected" - || fail "chosen syslog types"
cp "$here/samples/glog.log" "$work/logs/app.log"
"$brontel" --print --status --settings "$fresh" "$work/logs/app.log" > "$work/out.txt"
head -n 1 "$work/out.txt" | grep -q ' \[types: glog\]$' || fail "choice by lines"
grep -q '^|   Error:1, Warning:1, Fatal:2, History:4$' "$work/out.txt" ||
  fail "glog counts: $(grep '^|' "$work/out.txt")"
# --types builtin, a brontel.ini with types of its own and the switched-off option keep the
# types as they are, with no name in the status line.
"$brontel" --print --status --force --types builtin --settings "$fresh" "$work/logs/syslog" \
  > "$work/out.txt"
! head -n 1 "$work/out.txt" | grep -q 'types:' || fail "--types builtin"
printf '[Preferences]\r\nOptions.AutoMsgTypes=0\r\n' > "$fresh/brontel.ini"
"$brontel" --print --status --force --settings "$fresh" "$work/logs/syslog" > "$work/out.txt"
! head -n 1 "$work/out.txt" | grep -q 'types:' || fail "switched off"
"$brontel" --print --status --force --types auto --settings "$fresh" "$work/logs/syslog" \
  > "$work/out.txt"
head -n 1 "$work/out.txt" | grep -q ' \[types: syslog\]$' || fail "--types auto"
"$brontel" --print --status --force --settings "$settings" "$work/logs/syslog" > "$work/out.txt"
! head -n 1 "$work/out.txt" | grep -q 'types:' || fail "own types replaced"
echo "brontel --types: all checks passed"
