#!/usr/bin/env bash
# Checks quarnel.exe's import table against the list of the functions the
# viewer calls: exactly those from USER32, GDI32, OPENGL32, GLU32 and
# freeglut, GetModuleHandleA among KERNEL32's, and no DLL beyond these and
# the C runtime's. Anything of our SDL2 layer would show as a missing import.
#   check-imports.sh OBJDUMP EXE EXPECTED_LIST
set -euo pipefail
objdump=$1 exe=$2 expected_list=$3

headers=$(mktemp) actual=$(mktemp) expected=$(mktemp)
trap 'rm -f "$headers" "$actual" "$expected"' EXIT

"$objdump" -p "$exe" >"$headers"

# Reads only the import table section, one DLL block at a time: a block is
# "DLL Name: X", the "vma: Hint/Ord Member-Name" heading, one line per
# function, and a blank line. Any other line inside a function list is an
# error rather than a guess, and nothing outside the section is read.
if ! awk '
  /^The Import Tables/ { in_table = 1; found = 1; next }
  in_table && /^[^[:space:]]/ { in_table = 0 }  # the next section begins
  !in_table { next }
  /^[[:space:]]*DLL Name:/ { dll = $3; listing = 0; next }
  dll == "" { next }  # between blocks: the directory entries
  !listing && /^[[:space:]]*vma:[[:space:]]+Hint\/Ord/ { listing = 1; next }
  listing && /^[[:space:]]*$/ { dll = ""; listing = 0; next }
  listing && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {
    print dll, $3
    next
  }
  {
    printf "unreadable line in the imports of %s: %s\n", dll, $0 >"/dev/stderr"
    bad = 1
  }
  END {
    if (!found) print "no import table in objdump -p output" >"/dev/stderr"
    exit !found || bad
  }' "$headers" >"$actual"; then
  exit 1
fi
sort -u -o "$actual" "$actual"
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
