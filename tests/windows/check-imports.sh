#!/usr/bin/env bash
# Checks quarnel.exe's import table against the list of the functions the
# viewer calls: exactly those from USER32, GDI32, OPENGL32, GLU32 and
# freeglut, GetModuleHandleA among KERNEL32's, and no DLL beyond these and
# the C runtime's. Anything of our SDL2 layer would show as a missing import.
#   check-imports.sh OBJDUMP EXE EXPECTED_LIST
set -euo pipefail
objdump=$1 exe=$2 expected_list=$3

actual=$(mktemp) expected=$(mktemp)
trap 'rm -f "$actual" "$expected"' EXIT

"$objdump" -p "$exe" | awk '
  /^[[:space:]]*DLL Name:/ { dll = $3; next }
  dll != "" && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[^[:space:]]+$/ {
    print dll, $3
  }
  /^$/ && seen_dll { dll = "" }
  /DLL Name:/ { seen_dll = 1 }' | sort -u >"$actual"
grep -v '^#' "$expected_list" | grep . | sort -u >"$expected"

status=0
exact='^(USER32|GDI32|OPENGL32|GLU32|freeglut)\.dll '
if ! diff <(grep -E "$exact" "$expected") <(grep -E "$exact" "$actual"); then
  echo "the imports from the viewer's DLLs differ (< expected, > actual)"
  status=1
fi
if ! grep -qx 'KERNEL32.dll GetModuleHandleA' "$actual"; then
  echo "GetModuleHandleA is not imported from KERNEL32.dll"
  status=1
fi
unexpected=$(awk '{ print $1 }' "$actual" | sort -u |
  grep -Evx '(USER32|GDI32|OPENGL32|GLU32|freeglut|KERNEL32|msvcrt)\.dll' || true)
if [ -n "$unexpected" ]; then
  echo "unexpected DLLs imported: $unexpected"
  status=1
fi
[ "$status" -eq 0 ] && echo "import table: $(wc -l <"$expected") functions as listed"
exit "$status"
