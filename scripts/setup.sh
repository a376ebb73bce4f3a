#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine (nothing when all is there) and builds Vire Lan into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
    libjpeg62-turbo-dev
    qt6-translations-l10n
    fonts-liberation fonts-dejavu-core
    xvfb xauth
)
# Packages that only the tests need, named by scripts/test.sh.
read -r -a extra <<< "${VIRELAN_TEST_PACKAGES:-}"
packages+=("${extra[@]}")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)"
