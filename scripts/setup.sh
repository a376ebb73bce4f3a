#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine (nothing when all is there) and builds Vire Lan into build/.
# Packages named as arguments are installed too (the tests' own). VIRELAN_WERROR=ON (as CI sets it) makes
# every compiler warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing "${base_packages[@]}" "$@"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIRELAN_WERROR="${VIRELAN_WERROR:-OFF}" > /dev/null
cmake --build build -j"$(nproc)"
