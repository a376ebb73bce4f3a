#!/usr/bin/env bash
# Vire Lan against bare Qt yardsticks, on a virtual display of its own. See bench/README.md.
#
#     bash bench/run.sh [pairs] [part]   (default 11 pairs, at least 9; part "all", the default, or "photos")
#
# Builds the program and the benchmarks in Release (build-bench/, or $BENCH_BUILD), writes the fixtures once
# (a full class and its phone photos), then runs the program and its yardstick alternately, pair after pair,
# and prints the table: the medians of each side, the median of the pairs' ratios and their spread. Then the
# memory of class windows showing cards with photos, that of classes without photos against QTableWidgets and
# painted grids, the cost of a recovery copy of a full class and of typing while copies are written, and the photo
# bench's own figures. The part "photos" runs only what concerns the cards' photos: Page Down after reading and
# held, the memory of classes, the photo bench.
# A benchmark, not a test: it never fails on a time.
# $BENCH_DISPLAY picks the display number (otherwise Xvfb takes a free one).
# BENCH_PHOTO_CACHE=empty gives every run of the program a fresh HOME of its own, so that each starts with no photo
# kept on disk; otherwise the runs share the user's cache folder, filled by the runs before.
set -euo pipefail
pairs=${1:-11}
part=${2:-all}
if [ "$pairs" -lt 9 ]; then
    echo "at least 9 pairs" >&2
    exit 2
fi
case "$part" in
all) measures="start memory open openpainted chart print export typing card held heldtexts" ;;
photos) measures="card held heldtexts" ;;
*)
    echo "part: all or photos" >&2
    exit 2
    ;;
esac
# What virelan_bench and the yardsticks are asked for (start-up and idle memory are the start watch's).
asked=$(echo "$measures" | tr ' ' '\n' | grep -vx -e start -e memory -e heldtexts | tr '\n' ' ')
has() { [[ " $measures " == *" $1 "* ]]; }
source_dir=$(cd "$(dirname "$0")/.." && pwd)
# The program's own packages, and the X protocol headers the start-up watch is built with.
source "$source_dir/scripts/packages.sh"
source "$source_dir/scripts/display.sh"
install_missing "${base_packages[@]}" libxcb1-dev
build=${BENCH_BUILD:-$source_dir/build-bench}
data=$build/bench-data

echo "== Building (Release) in $build"
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" > /dev/null
cmake --build "$build" -j2 --target virelan bare_window startwatch virelan_bench yardsticks xlsx_yardstick \
    card_photo_bench oversized_bench recovery_bench > /dev/null
bin=$build/bench

make_work
# A display of its own, fresh: no window manager, nothing else on it, no key left pressed.
if [ -n "${BENCH_DISPLAY:-}" ]; then
    Xvfb ":${BENCH_DISPLAY#:}" -screen 0 1280x800x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":${BENCH_DISPLAY#:}"
else
    start_display
fi
sleep 0.5
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

if [ ! -f "$data/photos/eleve20.jpg" ] || [ ! -f "$data/classeur.cells" ]; then
    echo "== Writing the fixtures into $data (once)"
    "$bin/virelan_bench" --make "$data" 2> /dev/null
fi

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "== $pairs pairs on display $DISPLAY (load average before: $load_before; photo cache: ${BENCH_PHOTO_CACHE:-shared})"
results=$work/results
cd "$work"
program_env() { # command...
    if [ "${BENCH_PHOTO_CACHE:-}" = empty ]; then
        HOME=$(mktemp -d -p "$work") "$@"
    else
        "$@"
    fi
}
run_program() { # pair
    if has start; then
        read -r ms rss _ own < <("$bin/startwatch" "Vire Lan" 500 "$build/src/virelan")
        echo "$1 start program $ms" >> "$results"
        echo "$1 memory program $rss" >> "$results"
        echo "$own" >> "$work/own"
    fi
    # shellcheck disable=SC2086
    program_env "$bin/virelan_bench" "$data" $asked 2> /dev/null | sed "s/^/$1 /; s/ \([a-z]*\) / \1 program /" >> "$results"
}
run_yardstick() { # pair
    if has start; then
        read -r ms rss _ < <("$bin/startwatch" "Bare" 500 "$bin/bare_window")
        echo "$1 start yardstick $ms" >> "$results"
        echo "$1 memory yardstick $rss" >> "$results"
    fi
    # shellcheck disable=SC2086
    "$bin/yardsticks" "$data" $asked 2> /dev/null | sed "s/^/$1 /; s/ \([a-z]*\) / \1 yardstick /" >> "$results"
}
for pair in $(seq "$pairs"); do
    # Each side goes first every other pair, so that neither always meets the other's after-effects.
    if [ $((pair % 2)) -eq 1 ]; then
        run_program "$pair"
        run_yardstick "$pair"
    else
        run_yardstick "$pair"
        run_program "$pair"
    fi
    printf '.'
done
echo
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo
echo "| measure | Vire Lan | bare Qt yardstick | ratio (median of $pairs pairs) | spread of the ratios | goal |"
echo "|---|---|---|---|---|---|"
awk -v pairs="$pairs" -v measures="$measures" '
function median(list, n,    sorted, i, j, t) {
    for (i = 1; i <= n; i++) sorted[i] = list[i]
    for (i = 2; i <= n; i++) for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) { t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t }
    return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
}
{ value[$2, $3, $1] = $4 }
END {
    count = split(measures, order, " ")
    title["start"] = "start-up to the maximised frame, idle"
    title["memory"] = "idle memory (RSS)"
    title["open"] = "open a full class (62 students, 30 rubrics, cards, 20-line remarks) until the grid is painted (yardstick: QTableWidget)"
    title["openpainted"] = "open a full class until the grid is painted (yardstick: a grid painting its cells itself)"
    title["chart"] = "chart: key to window shown"
    title["print"] = "print a full class to PDF: Return in the print dialog until the file is complete (yardstick: QPrintDialog, then QPainter drawing the same texts on the same pages)"
    title["export"] = "export a full class to .xlsx, the first export of the run: Return in the save dialog until the file is complete (yardstick: a C program writing the same cells with libxlsxwriter, whole process)"
    title["typing"] = "typing marks: key until the cell is repainted (yardstick: QTableWidget)"
    title["card"] = "Page Down after reading, until the next card is painted with its photo, each a different 6000 x 4000 JPEG (yardstick: libjpeg 1/8 decode)"
    title["held"] = "Page Down held (five keys 30 ms apart), from the last key until the last card is painted with its photo (yardstick: libjpeg 1/8 decode of that photo)"
    title["heldtexts"] = "Page Down held: the longest wait of a key for its card'"'"'s texts to be painted (same yardstick)"
    goal["start"] = 1.10; goal["memory"] = 1.08; goal["open"] = 1.0; goal["openpainted"] = 1.10; goal["chart"] = 1.0
    goal["print"] = 1.05; goal["export"] = 1.15; goal["typing"] = 1.0; goal["card"] = 0.5
    goal["held"] = 0.3; goal["heldtexts"] = 0.3
    for (k = 1; k <= count; k++) {
        m = order[k]; n = 0
        for (p = 1; p <= pairs; p++) {
            if (!((m, "program", p) in value) || !((m, "yardstick", p) in value)) continue
            a = value[m, "program", p]; b = value[m, "yardstick", p]
            if (a <= 0 || b <= 0) continue
            n++; pa[n] = a; pb[n] = b; r[n] = a / b
        }
        if (n == 0) { printf "| %s | - | - | - | - | %.2f |\n", title[m], goal[m]; continue }
        lo = r[1]; hi = r[1]
        for (i = 2; i <= n; i++) { if (r[i] < lo) lo = r[i]; if (r[i] > hi) hi = r[i] }
        ratio = median(r, n)
        if (m == "memory")
            printf "| %s | %.1f MB | %.1f MB | %.3f | %.3f to %.3f | at most %.2f %s |\n", title[m], median(pa, n) / 1024, median(pb, n) / 1024, ratio, lo, hi, goal[m], ratio <= goal[m] ? "(met)" : "(NOT met)"
        else
            printf "| %s | %.1f ms | %.1f ms | %.2f | %.2f to %.2f | at most %.2f %s |\n", title[m], median(pa, n), median(pb, n), ratio, lo, hi, goal[m], ratio <= goal[m] ? "(met)" : "(NOT met)"
    }
}' "$results"
echo
echo "Load average before: $load_before; after: $load_after. $(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')."
if [ -s "$work/own" ]; then
    # Start-up's functions lie together only as src/startup.order names them: once they are spread again, most of
    # the program's code stays resident (1.4 MB rather than 0.6 MB for the whole file).
    own=$(sort -n "$work/own" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    echo "The program's own file resident at idle: $own kB (median; about 600 once start-up's functions lie together," \
        "1,400 when they are spread: bash scripts/startup-order.sh writes their list again)."
fi


echo
echo "== Memory of class windows showing a card with its photo (resident, median of 3 runs)"
for run in 1 2 3; do
    program_env "$bin/virelan_bench" "$data" classes 2> /dev/null | sed "s/^/$run /" >> "$work/classes"
done
awk '
function median3(a, b, c) { return a > b ? (b > c ? b : (a > c ? c : a)) : (a > c ? a : (b > c ? c : b)) }
{ kb[$2, $1] = $3 }
END {
    c1 = median3(kb["classes1", 1], kb["classes1", 2], kb["classes1", 3])
    c5 = median3(kb["classes5", 1], kb["classes5", 2], kb["classes5", 3])
    c10 = median3(kb["classes10", 1], kb["classes10", 2], kb["classes10", 3])
    e5 = median3((kb["classes5", 1] - kb["classes1", 1]) / 4, (kb["classes5", 2] - kb["classes1", 2]) / 4, (kb["classes5", 3] - kb["classes1", 3]) / 4)
    e10 = median3((kb["classes10", 1] - kb["classes1", 1]) / 9, (kb["classes10", 2] - kb["classes1", 2]) / 9, (kb["classes10", 3] - kb["classes1", 3]) / 9)
    print "| classes open, each showing a card with its photo | 1 | 5 | 10 |"
    print "|---|---|---|---|"
    printf "| resident memory | %.1f MB | %.1f MB | %.1f MB |\n", c1 / 1024, c5 / 1024, c10 / 1024
    printf "| per class beyond the first (goal: at most 1.2 MB) | | %.2f MB %s | %.2f MB %s |\n", e5 / 1024, e5 / 1024 <= 1.2 ? "(met)" : "(NOT met)", e10 / 1024, e10 / 1024 <= 1.2 ? "(met)" : "(NOT met)"
}' "$work/classes"

echo
echo "== Memory of classes without photos, each window showing its grid, against QTableWidgets and painted grids of"
echo "   the same texts (resident, median of 3 runs)"
for run in 1 2 3; do
    "$bin/virelan_bench" "$data" plainclasses 2> /dev/null | sed "s/^[a-z]*\([0-9]*\) /$run program \1 /" >> "$work/plain"
    "$bin/yardsticks" "$data" tables 2> /dev/null | sed "s/^[a-z]*\([0-9]*\) /$run table \1 /" >> "$work/plain"
    "$bin/yardsticks" "$data" paintedgrids 2> /dev/null | sed "s/^[a-z]*\([0-9]*\) /$run painted \1 /" >> "$work/plain"
done
awk '
function median3(a, b, c) { return a > b ? (b > c ? b : (a > c ? c : a)) : (a > c ? a : (b > c ? c : b)) }
function at(kind, n) { return median3(kb[kind, n, 1], kb[kind, n, 2], kb[kind, n, 3]) }
function extra(kind, n) { return median3((kb[kind, n, 1] - kb[kind, 1, 1]) / (n - 1), (kb[kind, n, 2] - kb[kind, 1, 2]) / (n - 1), (kb[kind, n, 3] - kb[kind, 1, 3]) / (n - 1)) }
function line(name, kind) { printf "| %s | %.1f MB | %.1f MB | %.1f MB | %.2f MB | %.2f MB |\n", name, at(kind, 1) / 1024, at(kind, 5) / 1024, at(kind, 10) / 1024, extra(kind, 5) / 1024, extra(kind, 10) / 1024 }
{ kb[$2, $3, $1] = $4 }
END {
    print "| classes open, no photos, grid shown | 1 | 5 | 10 | per class beyond the first (from 5) | (from 10) |"
    print "|---|---|---|---|---|---|"
    line("Vire Lan", "program"); line("QTableWidget", "table"); line("painted grid", "painted")
    ratio = extra("program", 10) / extra("table", 10)
    printf "\nPer class beyond the first (from 10) against QTableWidget: %.2f, goal at most 1.0 %s; against the painted grid: %.2f\n", ratio, ratio <= 1.0 ? "(met)" : "(NOT met)", extra("program", 10) / extra("painted", 10)
}' "$work/plain"

echo
echo "== Recovery copies of a full class (recovery_bench, on the disk of the build folder; median, 95th, slowest)"
recovery_folder=$(mktemp -d "$build/recovery-bench-XXXXXX")
"$bin/recovery_bench" "$recovery_folder" 2> /dev/null | tee "$work/recovery"
rm -rf "$recovery_folder"
awk '
/^keys, no copies/ { none = $5 }
/^keys, a copy a second/ { second = $7 }
/^keys, a copy after each key/ { each = $8 }
END {
    if (none > 0)
        printf "Typing with a copy a second against no copies (medians): %.2f (goal: not slowed, at most 1.10) %s; with a copy after every key: %.2f\n", second / none, second / none <= 1.10 ? "(met)" : "(NOT met)", each / none
}' "$work/recovery"

echo
echo "== Photo bench (one card shown again and again; medians)"
"$bin/card_photo_bench" 2> /dev/null || true

echo
echo "== Oversized files (each refused or read by a process of its own)"
"$bin/oversized_bench" 2> /dev/null || true
