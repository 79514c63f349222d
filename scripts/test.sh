#!/usr/bin/env bash
# Installs what is missing, builds and runs every test, headless.
#   bash scripts/test.sh          normal build, every test
#   bash scripts/test.sh asan     AddressSanitizer + UBSan build, model tests
#   bash scripts/test.sh tsan     ThreadSanitizer build, threaded tests
set -euo pipefail
cd "$(dirname "$0")/.."
# Compiler cache entries name files relative to the checkout, so a fresh
# clone reuses what an earlier build of the same sources compiled.
export CCACHE_BASEDIR="$PWD"
preset="${1:-default}"

bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

cmake --preset "$preset" >/dev/null
if [ "$preset" = default ]; then
  cmake --build --preset "$preset" -j"$(nproc)"
else
  # The sanitizer builds run the model tests only: build just what they need.
  cmake --build --preset "$preset" -j"$(nproc)" --target quillop_model_tests
fi
ctest --preset "$preset" -j"$(nproc)"
