#!/usr/bin/env bash
# Runs check-include-direction.sh on small made-up source trees, one include
# each, and checks that it accepts the downward ones and rejects the rest.
#   check-include-direction-test.sh CHECK_SCRIPT
set -euo pipefail
check=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# file | the include it holds | expected exit status
cases=(
  'camera/camera.cpp|platform/platform.h|0'
  'window/gl_window.cpp|render/scene.h|0'
  'app/win_main.cpp|camera/camera.h|0'
  'render/scene.cpp|render/glut_ready.h|0'
  'camera/keyboard.cpp|app/globals.h|1'
  'render/scene.cpp|window/gl_window.h|1'
  'platform/sdl/layer.h|camera/camera.h|1'
  'window/gl_window.h|tests/fake/fake_platform.h|1'
  'camera/camera.h|key_state.h|1'
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r file included expected_status <<<"$entry"
  tree=$work/tree
  rm -rf "$tree"
  mkdir -p "$tree/$(dirname "$file")"
  printf '#pragma once\n#include <vector>\n#include "%s"\n' "$included" \
    >"$tree/$file"
  status=0
  output=$(bash "$check" "$tree" 2>&1) || status=$?
  if [ "$status" -ne "$expected_status" ]; then
    printf 'FAIL %s including %s: exit %s, wanted %s; output:\n%s\n' \
      "$file" "$included" "$status" "$expected_status" "$output"
    failures=$((failures + 1))
  else
    echo "ok   $file including $included"
  fi
done
[ "$failures" -eq 0 ]
