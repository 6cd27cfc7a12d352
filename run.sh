#!/usr/bin/env bash
# Sets up, builds and starts the Quarnel viewer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target quarnel
exec build/quarnel
