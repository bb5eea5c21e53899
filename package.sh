#!/usr/bin/env bash
# Builds the Debian package dist/velmora_<version>_<arch>.deb with CPack:
# a stripped release build of the program and lumoctl, the delivered
# database, the manual with its pictures, the skins, the icon and the
# application-menu entry. Install it with: sudo apt install ./dist/velmora_*.deb
#   LUMO_PACKAGE_BUILD  build folder (default build-package); an existing
#                       configured build folder is packaged as it is.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
bash scripts/setup-deps.sh package
build=${LUMO_PACKAGE_BUILD:-build-package}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMO_BUILD_TESTS=OFF \
    -DLUMO_BUILD_BENCH=OFF
fi
cmake --build "$build" --target lumo lumoctl lumo_delivered_db -j"$(nproc)"
rm -rf dist/.cpack dist/velmora_*.deb
mkdir -p dist
(cd "$build" && cpack -G DEB -B "$root/dist/.cpack")
mv -f dist/.cpack/velmora_*.deb dist/
rm -rf dist/.cpack
ls dist/velmora_*.deb
