#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config libsqlite3-dev
      qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-image-formats-plugins
      libgl-dev zlib1g-dev libsodium-dev sqlite3 libsqlite3-dev clang libclang-rt-14-dev clang-format
      fonts-wqy-microhei python3)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
