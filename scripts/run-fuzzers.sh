#!/usr/bin/env bash
# Builds the archive fuzzers with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time on top of its committed seed corpus.
#   LUMO_FUZZ_SECONDS   seconds per fuzzer (default 60)
#   LUMO_FUZZ_BUILD     build folder (default: a folder under $TMPDIR or /tmp)
# Exits non-zero when a fuzzer finds a crash, a leak, undefined behaviour or a timeout.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${LUMO_FUZZ_SECONDS:-60}
build=${LUMO_FUZZ_BUILD:-${TMPDIR:-/tmp}/lumo-fuzz-$(id -u)}
cxx=${LUMO_FUZZ_CXX:-clang++}
mkdir -p "$build"

# The archive library's own source list, so the fuzzers build what the
# program links.
mapfile -t sources < <(sed -n '/^add_library(lumo_archive STATIC/,/^)/p' "$root"/datamgmt/CMakeLists.txt |
                        sed -n 's|^ *\([A-Za-z0-9_]*\.cpp\)$|'"$root"'/datamgmt/\1|p')
[ ${#sources[@]} -gt 0 ] || { echo "no archive sources found" >&2; exit 1; }
flags=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$root"/datamgmt)

status=0
for target in archive_reader:corpus-archive lzrw1kh:corpus-lzrw1kh; do
  name=${target%%:*}
  seeds="$root/tests/datamgmt/fuzz/${target##*:}"
  binary="$build/fuzz_$name"
  echo "== building fuzz_$name"
  "$cxx" "${flags[@]}" "$root/tests/datamgmt/fuzz/fuzz_$name.cpp" "${sources[@]}" \
    -lz -lpthread -o "$binary"
  # New inputs go to a working corpus; the committed seeds stay as they are.
  work="$build/corpus-$name"
  mkdir -p "$work" "$build/artifacts-$name"
  echo "== running fuzz_$name for ${seconds}s"
  if ! "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts-$name/" "$work" "$seeds"; then
    echo "fuzz_$name FAILED; reproducer in $build/artifacts-$name/" >&2
    status=1
  fi
done
exit $status
