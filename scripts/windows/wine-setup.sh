#!/usr/bin/env bash
# Makes a 64-bit Wine prefix in WINE_DIR/prefix (once) and writes
# WINE_DIR/wine-run, which runs a Windows program in it with the DLLs of
# DLL_DIR on its path. Needs DISPLAY.
set -euo pipefail
wine_dir=$(mkdir -p "$1" && cd "$1" && pwd)
dll_dir=$(cd "$2" && pwd)
# Wine's path for the DLL folder: drive Z: is the root of the Linux tree.
wine_dll_dir="Z:${dll_dir//\//\\}"

cat >"$wine_dir/wine-run" <<RUN
#!/bin/sh
# Runs a Windows program under Wine, in Quarnel's own prefix.
export WINEPREFIX='$wine_dir/prefix' WINEARCH=win64
export WINEDEBUG="\${WINEDEBUG:--all}"
# No Mono or Gecko: nothing here needs them, and they would be downloaded.
export WINEDLLOVERRIDES='mscoree,mshtml='
export WINEPATH='$wine_dll_dir'
# The wineserver outlives the program by seconds and inherits its output;
# hand it files, so that a reader of our output (ctest) need not wait.
out=\$(mktemp -d) || exit 125
wine "\$@" >"\$out/stdout" 2>"\$out/stderr"
status=\$?
cat "\$out/stdout"
cat "\$out/stderr" >&2
rm -rf "\$out"
exit \$status
RUN
chmod +x "$wine_dir/wine-run"

[ -f "$wine_dir/prefix/.booted" ] && exit 0
rm -rf "$wine_dir/prefix"
WINEPREFIX="$wine_dir/prefix" WINEARCH=win64 WINEDEBUG=-all \
  WINEDLLOVERRIDES='mscoree,mshtml=' sh -c 'wineboot -i && wineserver -w'
touch "$wine_dir/prefix/.booted"
