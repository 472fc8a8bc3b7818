#!/usr/bin/env bash
# Installs what is missing, builds Quorvex with warnings as errors and runs
# every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
QUORVEX_WERROR=ON "$root/scripts/build.sh"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
