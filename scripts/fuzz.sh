#!/usr/bin/env bash
# Builds the libFuzzer target of the sequence file readers with Debian's clang
# and runs it; a fault's input is left in the build folder as crash-*/leak-*/
# timeout-* (add it to tests/sequencer/fuzz_corpus/ once fixed).
#
#   scripts/fuzz.sh [seconds [libFuzzer options...]]     (default 300 s)
#
# Not part of ./test.sh: the normal tests run the same entry point over the
# checked-in corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUENTA_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${1:-300}"
shift || true

if ! command -v clang++ >/dev/null 2>&1; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y clang
fi

sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$sanitize" \
  -DQUENTA_FUZZ=ON -DQUENTA_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 --target fuzz_sequence

# New inputs go to a work folder; the checked-in seeds stay as they are.
work="$build/fuzz_work"
mkdir -p "$work"
cd "$build"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec ./tests/sequencer/fuzz_sequence -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 "$@" "$work" "$root/tests/sequencer/fuzz_corpus"
