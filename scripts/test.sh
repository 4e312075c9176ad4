#!/usr/bin/env bash
# Builds everything and runs every test: the full build (windows included) and a second build
# of the logic and converters with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
log=$(mktemp)
trap 'rm -f "$log"' EXIT

echo "== Build and test (release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" | tee -a "$log"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTROVA_SANITIZE=ON -DKESTROVA_GUI=OFF > /dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" | tee -a "$log"

if [ -x fuzz/run ]; then
  echo "== Fuzz every file reader for a short time"
  FUZZ_SECONDS="${FUZZ_SECONDS:-30}" bash fuzz/run
fi

# One closing line for both test runs (ctest stops the script above on any failure).
awk '/tests passed, [0-9]+ tests failed out of/ { failed += $(NF-4); total += $NF }
     /\(Skipped\)$/ && /^[[:space:]]+[0-9]+ - / { skipped++ }
     END { printf "Tests: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }' "$log"
