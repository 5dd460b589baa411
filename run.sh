#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it: on a simulated
# rack when given no arguments, on the real rack with --rack.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/bootstrap.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENTA_TESTS=OFF -DQUENTA_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target quenta-driver quenta
if [ "$#" -eq 0 ]; then
  set -- --simulate
elif [ "$1" = "--rack" ]; then
  shift
fi
exec "$build/app/quenta-driver" "$@"
