#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup-deps.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_WERROR=$werror
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
if [ -x scripts/run-fuzzers.sh ] || [ -f scripts/run-fuzzers.sh ]; then
  bash scripts/run-fuzzers.sh
fi
