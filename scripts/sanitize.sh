#!/usr/bin/env bash
# Builds Vire Lan and its tests again into build-asan/ under AddressSanitizer and UndefinedBehaviorSanitizer
# (gcc's runtimes, installed with build-essential) and runs every test there. The first report of either
# sanitizer, a leak included, stops the test and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing "${base_packages[@]}"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIRELAN_SANITIZE=ON \
    -DVIRELAN_WERROR="${VIRELAN_WERROR:-OFF}" > /dev/null
cmake --build build-asan -j"${VIRELAN_JOBS:-$(nproc)}"

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
