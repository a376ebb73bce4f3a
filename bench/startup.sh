#!/usr/bin/env bash
# Start-up time of Vire Lan against a bare Qt window: from launch until the main window is mapped.
# Run inside a display, e.g.: xvfb-run -a bash bench/startup.sh build
set -euo pipefail
build=${1:-build}
runs=${2:-5}
measure() {
    local title=$1; shift
    local total=0
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null 2>&1 &
        local pid=$!
        until xdotool search --onlyvisible --name "^${title}\$" > /dev/null 2>&1; do sleep 0.005; done
        end=$(date +%s%N)
        kill "$pid"; wait "$pid" 2> /dev/null || true
        total=$((total + (end - start) / 1000000))
    done
    echo "$title: $((total / runs)) ms on average over $runs runs"
}
cd "$(mktemp -d)"
measure "Bare" "$OLDPWD/$build/bench/bare_window"
measure "Vire Lan" "$OLDPWD/$build/src/virelan"
