#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/bootstrap.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENTA_TESTS=OFF -DQUENTA_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target quenta-driver quenta
exec "$build/app/quenta-driver" "$@"
