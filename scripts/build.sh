#!/usr/bin/env bash
# Configures and builds Quorvex into build/ (Release with debug info): every
# target, or only those named (scripts/build.sh Qorvix).
# QUORVEX_WERROR=ON in the environment turns warnings into errors, as the
# test scripts and CI do; otherwise build/ keeps the setting it has.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEX_GUI=ON -DQUORVEX_TESTS=ON)
if [ -n "${QUORVEX_WERROR:-}" ]; then
  options+=("-DQUORVEX_WERROR=$QUORVEX_WERROR")
fi
cmake -S "$root" -B "$root/build" "${options[@]}" >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
