#!/usr/bin/env bash
# Installs the Debian packages one of the project's commands needs:
#   setup-deps.sh run      building and running the program (./run.sh)
#   setup-deps.sh package  that, plus what building the Debian package needs (./package.sh)
#   setup-deps.sh test     that, plus the test tools (./test.sh)
set -euo pipefail
mode=${1:-run}

# Building.
build=(build-essential cmake ninja-build pkg-config
       qt6-base-dev qt6-base-dev-tools libgl-dev zlib1g-dev libsodium-dev libsqlite3-dev sqlite3)
# Running: the SQLite driver, the platform and image-format plugins, Qt's
# Chinese translations, a Chinese font, and the desktop's folder and
# "open" helpers.
runtime=(libqt6sql6-sqlite qt6-qpa-plugins qt6-image-formats-plugins qt6-translations-l10n
         fonts-wqy-microhei xdg-user-dirs xdg-utils)
# The Debian package: dpkg-shlibdeps finds the libraries' packages.
package=(dpkg-dev file)
# The tests and the developers' tools: clang for the fuzzers and the
# sanitizer runs, clang-format for the sources, Python for the benchmarks,
# desktop-file-validate for the package's and the program's desktop entries.
tests=(clang libclang-rt-14-dev clang-format python3 desktop-file-utils)

case "$mode" in
  run) pkgs=("${build[@]}" "${runtime[@]}") ;;
  package) pkgs=("${build[@]}" "${runtime[@]}" "${package[@]}") ;;
  test) pkgs=("${build[@]}" "${runtime[@]}" "${package[@]}" "${tests[@]}") ;;
  *) echo "usage: $0 run|package|test" >&2; exit 2 ;;
esac

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
