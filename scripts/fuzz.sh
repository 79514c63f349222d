#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UBSan) and
# runs them, each for SECONDS (default 60) from its seeds and the corpus it
# has grown so far.
#   bash scripts/fuzz.sh                   every target, 60 s each
#   bash scripts/fuzz.sh document 1800     one target for 30 minutes
# A crash, a leak, undefined behaviour, more than 2 GB of memory, a single
# allocation over 512 MB or an input running over 30 s is a finding: the
# input is left as build/fuzz/findings/<target>/crash-* (or oom-*, timeout-*,
# leak-*) and the script fails. Once mended, copy it to
# tests/fuzz/regressions/<target>/ so the ordinary test run replays it.
# Extra libFuzzer options may follow: bash scripts/fuzz.sh wav 600 -jobs=2
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD"
all_targets=(document wav analysis ogg manifest runtime tmx)
targets=("${all_targets[@]}")
if [ $# -gt 0 ] && [ "$1" != all ]; then targets=("$1"); fi
seconds="${2:-60}"
shift $(( $# > 2 ? 2 : $# ))

bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

status=0
for t in "${targets[@]}"; do
  corpus="build/fuzz/corpus/$t"
  findings="build/fuzz/findings/$t"
  mkdir -p "$corpus" "$findings"
  seeds=()
  [ -d "tests/fuzz/seeds/$t" ] && seeds+=("tests/fuzz/seeds/$t")
  [ -d "tests/fuzz/regressions/$t" ] && seeds+=("tests/fuzz/regressions/$t")
  case "$t" in
    document) seeds+=(examples) ;;
    runtime) seeds+=(examples tests/fuzz/seeds/document tests/fuzz/regressions/document) ;;
    ogg) seeds+=(data/demo/sounds) ;;
  esac
  # The shared words, and the target's own when it has some.
  dict="build/fuzz/$t.dict"
  cat tests/fuzz/quillop.dict > "$dict"
  [ -f "tests/fuzz/$t.dict" ] && cat "tests/fuzz/$t.dict" >> "$dict"
  echo "== fuzz_$t for ${seconds}s"
  if ! "build/fuzz/tests/fuzz/fuzz_$t" "$corpus" "${seeds[@]}" \
      -dict="$dict" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 \
      -timeout=30 -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" "$@" \
      2>&1 | tee "build/fuzz/$t.log" | grep -E "^(#[0-9]+ +DONE|INFO: Seed|==[0-9]+==|SUMMARY|FUZZ FINDING|stat::|Done )" ; then
    :
  fi
  if ! grep -q "Done [0-9]* runs" "build/fuzz/$t.log"; then
    echo "fuzz_$t: a finding, see build/fuzz/$t.log and $findings/" >&2
    status=1
  fi
done
exit $status
