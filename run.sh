#!/usr/bin/env bash
# Sets up (Debian packages, configure, a stripped release build), installs
# the program into the installation folder ($LUMO_INSTALL_DIR, else
# ~/.local/share/Velmorix) with its desktop entries, and starts the
# installed program there. The register "lumo.fc" in that folder is made
# only when none is there: every start, the desktop shortcut and the
# application-menu entry work on that one register.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMO_BUILD_TESTS=OFF -DLUMO_BUILD_BENCH=OFF
cmake --build build --target lumo lumoctl lumo_delivered_db lumo_app_files -j"$(nproc)"
# The program installs itself (no window) and names the folder.
dir=$(QT_QPA_PLATFORM=offscreen build/bin/lumo --install | tail -n 1)
echo "Velmora 已安装到 $dir"
cd "$dir"
exec ./lumo "$@"
