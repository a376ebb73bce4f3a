#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang into build-fuzz/ (installing what is missing) and runs
# each for the given number of seconds (60 when not given), one after the other; naming readers after the
# seconds runs only those: bash scripts/fuzz.sh 600 photos classfile
# Each harness starts from its seeds in fuzz/corpus/<reader>/ and keeps what it finds interesting in
# build-fuzz/corpus/<reader>/; an input that breaks a reader is saved in build-fuzz/findings/. The run fails
# when any harness found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
readers=("$@")
if [ ${#readers[@]} -eq 0 ]; then
    readers=()
    for dir in fuzz/corpus/*/; do readers+=("$(basename "$dir")"); done
fi

source scripts/packages.sh
install_missing "${base_packages[@]}" clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIRELAN_FUZZ=ON > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${readers[@]/#/fuzz_}"

failed=()
mkdir -p build-fuzz/findings
for reader in "${readers[@]}"; do
    mkdir -p "build-fuzz/corpus/$reader"
    log="build-fuzz/$reader.log"
    if build-fuzz/fuzz/"fuzz_$reader" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$reader-" "build-fuzz/corpus/$reader" "fuzz/corpus/$reader" 2> "$log"; then
        echo "$reader: clean, $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") inputs in $seconds s"
    else
        failed+=("$reader")
        echo "$reader: FOUND A FAULT (log in $log, input in build-fuzz/findings/)"
        grep -E "property broken|ERROR|runtime error|SUMMARY" "$log" | head -5
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Faults found by: ${failed[*]}"
    exit 1
fi
