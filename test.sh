#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and runs every test, then the
# archive fuzzers, then builds the Debian package from the same build and
# checks it (scripts/check-package.sh).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup-deps.sh test
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_WERROR=$werror
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure -j"$(nproc)" 2>&1 | tee build-test/ctest.log
[ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
if [ -f scripts/run-fuzzers.sh ]; then
  bash scripts/run-fuzzers.sh
fi
# The package from the test build (cpack strips it), so nothing is built twice.
LUMO_PACKAGE_BUILD=build-test ./package.sh
bash scripts/check-package.sh
# The test count again, last, after the fuzzers' and the package's output.
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' build-test/ctest.log | tail -1)
echo "tests: ${total:-0} passed, 0 failed"
