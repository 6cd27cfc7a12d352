#!/usr/bin/env bash
# Feeds check-imports.sh crafted `objdump -p` output, laid out as MinGW's
# objdump prints a PE import table, and checks that it passes a table that
# holds exactly the listed imports and fails every other with the reason.
# Needs neither MinGW nor an executable.
#   check-imports-test.sh CHECK_IMPORTS_SCRIPT
set -euo pipefail
check_imports=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Stands in for objdump: `fake-objdump -p FILE` prints FILE.
cat >"$work/fake-objdump" <<'OBJDUMP'
#!/bin/sh
cat "$2"
OBJDUMP
chmod +x "$work/fake-objdump"

cat >"$work/expected.txt" <<'LIST'
# what a small viewer would call
USER32.dll MessageBoxA
USER32.dll ShowCursor
GLU32.dll gluLookAt
GLU32.dll gluPerspective
KERNEL32.dll GetModuleHandleA
LIST

headers_before_table() {
  printf 'There is an import table in .idata at 0x140008000\n\n'
  printf 'The Import Tables (interpreted .idata section contents)\n'
  printf ' vma:            Hint    Time      Forward  DLL       First\n'
  printf '                 Table   Stamp     Chain    Name      Thunk\n'
}

# dll_block DLL FUNCTION...: one DLL's entry as objdump prints it.
dll_block() {
  local dll=$1 hint=100 function_name
  shift
  printf ' 00008000\t00008050 00000000 00000000 00008538 00008198\n\n'
  printf '\tDLL Name: %s\n' "$dll"
  printf '\tvma:  Hint/Ord Member-Name Bound-To\n'
  for function_name; do
    printf '\t%x\t%5d  %s\n' $((0x82e0 + hint)) "$hint" "$function_name"
    hint=$((hint + 1))
  done
  printf '\n'
}

end_of_table() {
  printf ' 0000803c\t00000000 00000000 00000000 00000000 00000000\n\n'
  printf 'The Function Table (interpreted .pdata section contents)\n'
  printf 'vma:\t\t\tBeginAddress\t EndAddress\t  UnwindData\n'
}

good_blocks() {
  dll_block KERNEL32.dll GetModuleHandleA Sleep
  dll_block msvcrt.dll malloc free
  dll_block USER32.dll MessageBoxA ShowCursor
  dll_block GLU32.dll gluLookAt gluPerspective
}

# A line shaped like an import, in a later section.
stray_line() { printf '\t84fa\t  613  %s\n' "$1"; }

case_listed_imports() {
  headers_before_table
  good_blocks
  end_of_table
}
case_stray_line_after_good_table() {
  case_listed_imports
  stray_line SDL_Init
}
case_missing_import_found_after_table() {
  headers_before_table
  dll_block KERNEL32.dll GetModuleHandleA
  dll_block USER32.dll MessageBoxA ShowCursor
  dll_block GLU32.dll gluLookAt
  end_of_table
  stray_line gluPerspective
}
case_missing_import() {
  headers_before_table
  dll_block KERNEL32.dll GetModuleHandleA
  dll_block USER32.dll MessageBoxA
  dll_block GLU32.dll gluLookAt gluPerspective
  end_of_table
}
case_extra_import() {
  headers_before_table
  good_blocks
  dll_block USER32.dll SetWindowTextA
  end_of_table
}
case_unexpected_dll() {
  headers_before_table
  good_blocks
  dll_block SDL2.dll SDL_Init
  end_of_table
}
case_no_get_module_handle() {
  headers_before_table
  dll_block KERNEL32.dll Sleep
  dll_block USER32.dll MessageBoxA ShowCursor
  dll_block GLU32.dll gluLookAt gluPerspective
  end_of_table
}
case_import_by_ordinal() {
  headers_before_table
  good_blocks
  printf '\tDLL Name: GDI32.dll\n\tvma:  Hint/Ord Member-Name Bound-To\n'
  printf '\t8512\t  <none> 0012\n\n'
  end_of_table
}
case_block_without_heading() {
  headers_before_table
  good_blocks
  printf '\tDLL Name: GDI32.dll\n\t8512\t  100  SwapBuffers\n\n'
  end_of_table
}
case_no_import_table() {
  printf 'There is no import table\n'
}

# case | expected exit status | text the output must hold
cases=(
  "listed_imports|0|import table: 5 functions as listed"
  "stray_line_after_good_table|0|import table: 5 functions as listed"
  "missing_import_found_after_table|1|< GLU32.dll gluPerspective"
  "missing_import|1|< USER32.dll ShowCursor"
  "extra_import|1|> USER32.dll SetWindowTextA"
  "unexpected_dll|1|unexpected DLLs imported: SDL2.dll"
  "no_get_module_handle|1|GetModuleHandleA is not imported"
  "import_by_ordinal|1|unreadable line in the imports of GDI32.dll"
  "block_without_heading|1|unreadable line in the imports of GDI32.dll"
  "no_import_table|1|no import table"
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name expected_status expected_text <<<"$entry"
  "case_$name" >"$work/$name.txt"
  status=0
  output=$(bash "$check_imports" "$work/fake-objdump" "$work/$name.txt" \
    "$work/expected.txt" 2>&1) || status=$?
  if [ "$status" -ne "$expected_status" ] ||
    ! grep -qF -- "$expected_text" <<<"$output"; then
    printf 'FAIL %s: exit %s, wanted %s with "%s"; output:\n%s\n' \
      "$name" "$status" "$expected_status" "$expected_text" "$output"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
done
[ "$failures" -eq 0 ]
