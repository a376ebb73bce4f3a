#!/usr/bin/env bash
# Installs what is missing, builds Vire Lan and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
# Test-only tools: the menu entry and metainfo validators, the end-to-end driver and its PDF reader.
VIRELAN_TEST_PACKAGES="desktop-file-utils appstream xdotool poppler-utils" bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
