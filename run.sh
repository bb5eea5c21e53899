#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and runs the program on the
# delivered database in the build's application folder.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_BUILD_TESTS=OFF -DLUMO_BUILD_BENCH=OFF
cmake --build build --target lumo lumoctl lumo_delivered_db -j"$(nproc)"
# The program finds "lumo.fc" in the current folder: its own folder.
cd build/bin
exec ./lumo "$@"
