#!/bin/sh
# Checks a built brontel.wlx/.wlx64: it exports exactly the host's four entry points under
# their plain names, and imports nothing but DLLs that every Windows system has.
# Usage: check-module.sh OBJDUMP MODULE
set -eu
objdump=$1
module=$2
dump=$("$objdump" -p "$module")

exports=$(printf '%s\n' "$dump" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*\([^[:space:]]*\).*/\1/p' | sort | tr '\n' ' ')
expected='ListCloseWindow ListLoad ListSearchText ListSetDefaultParams '
if [ "$exports" != "$expected" ]; then
  echo "exports: '$exports', expected '$expected'" >&2
  exit 1
fi

imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
status=0
for dll in $imports; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | advapi32.dll | msvcrt.dll | \
      shell32.dll | ole32.dll) ;;
    *)
      echo "imports a DLL that is not part of the system: $dll" >&2
      status=1
      ;;
  esac
done
echo "exports: $exports"
echo "imports: $(echo $imports)"
exit $status
