#!/usr/bin/env bash
# The functions start-up runs lie side by side in the built program, as src/startup.order lists them, so that
# little of the program's code is resident once it is idle. Fails when the build no longer lays them out (they
# are then spread over the whole code) or when the list names too few functions the program still has (it must be
# written again: bash scripts/startup-order.sh). Skipped when the program was not linked by gold, which alone
# follows the list.
#   startup_layout.sh <program> <list>
set -euo pipefail
program=$1 list=$2

sections=$(readelf -SW "$program")
grep -q '\.note\.gnu\.gold-version' <<< "$sections" || { echo "not linked by gold: no layout to check"; exit 77; }

nm --defined-only -S "$program" | awk -v list="$list" '
    function hex(digits,    i, n) {
        n = 0
        for (i = 1; i <= length(digits); i++) n = n * 16 + index("0123456789abcdef", substr(digits, i, 1)) - 1
        return n
    }
    BEGIN {
        while ((getline line < list) > 0)
            if (line ~ /^\.text\._Z/) { listed[substr(line, 7)] = 1; count++ }
    }
    # address size type name
    NF == 4 && ($4 in listed) && !($4 in seen) {
        seen[$4] = 1; found++
        start = hex($1); end = start + hex($2)
        if (low == "" || start < low) low = start
        if (end > high) high = end
    }
    END {
        printf "%d of the %d functions listed are in the program, within %d KB\n", found, count, (high - low) / 1024
        if (found < count * 3 / 4) { print "FAIL: the list no longer matches the code: bash scripts/startup-order.sh"; exit 1 }
        # The functions listed take about 100 KB; spread, they span the whole code (over 1 MB).
        if (high - low > 256 * 1024) { print "FAIL: start-up'"'"'s functions are spread over the code"; exit 1 }
    }'
