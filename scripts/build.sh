#!/usr/bin/env bash
# Configures and builds Quorvex into build/ (Release with debug info).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEX_GUI=ON -DQUORVEX_TESTS=ON >/dev/null
cmake --build "$root/build" -j"$(nproc)"
