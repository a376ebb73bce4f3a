#!/usr/bin/env bash
# Installs what is missing, builds and starts Vire Lan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo
    echo "No display found: Vire Lan is a desktop program and needs one."
    echo "Without a screen, start it inside a virtual display:"
    echo "    xvfb-run -a -s '-screen 0 1280x800x24' build/src/virelan"
    exit 1
fi
exec build/src/virelan
