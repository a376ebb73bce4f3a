#!/usr/bin/env bash
# Installs what is missing, builds Vire Lan and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the tests need these: poppler's PDF tools and LibreOffice read back what the program prints and saves,
# the URW fonts are families that several foundries provide, the validators check the menu entry and the
# metainfo, and xdotool drives the end-to-end test.
test_packages=(poppler-utils libreoffice-writer-nogui fonts-urw-base35 desktop-file-utils appstream xdotool)
bash scripts/setup.sh "${test_packages[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
