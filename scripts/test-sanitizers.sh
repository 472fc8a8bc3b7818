#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize/ and runs every suite there
# with leak detection on. Any report fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

sanitizers="-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all"
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1"

# -O1 keeps the render tests quick enough; the tests are built, not the program.
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g -fno-omit-frame-pointer $sanitizers" \
  -DQUORVEX_GUI=ON -DQUORVEX_TESTS=ON -DQUORVEX_WERROR=ON >/dev/null
cmake --build "$root/build-sanitize" -j"$(nproc)" --target engine_tests windows_tests
cd "$root/build-sanitize"
# The program itself is not built here, so nothing is installed; the AT-SPI
# reading runs the program of build/ in test.sh.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --label-exclude 'install|atspi'
