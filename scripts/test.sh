#!/usr/bin/env bash
# Installs what is missing, builds Vire Lan and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/setup.sh "${test_packages[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
