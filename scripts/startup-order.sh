#!/usr/bin/env bash
# Writes src/startup.order: the program's functions that run from its start until its frame is shown and idle and
# its warm-up is done, which the link lays out side by side (see src/CMakeLists.txt). The system maps a program's
# code in blocks of 64 KB around each page first touched, so start-up code spread among the rest keeps most of the
# program's code resident. Run it again once start-up runs other functions:
#
#     bash scripts/startup-order.sh
#
# The list holds the functions of both optimised builds, which inline differently: the Release build of the
# benchmarks (build-bench) and the build of scripts/run.sh (build, RelWithDebInfo). Each program runs for a while
# under callgrind, on a virtual display of its own and with a home of its own.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/scripts/packages.sh"
source "$source_dir/scripts/display.sh"
install_missing "${base_packages[@]}" valgrind python3
builds=("$source_dir/build-bench:Release" "$source_dir/build:RelWithDebInfo")
for entry in "${builds[@]}"; do
    build=${entry%%:*}
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE="${entry##*:}" > /dev/null
    cmake --build "$build" -j2 --target virelan > /dev/null
done

make_work
start_display
export QT_QPA_PLATFORM=xcb
outputs=()
for entry in "${builds[@]}"; do
    build=${entry%%:*}
    export HOME="$work/home-${#outputs[@]}"
    mkdir "$HOME"
    # A first start makes the home one the program has known (its settings, its recovery folder), as a
    # teacher's is.
    timeout -s TERM 5 "$build/src/virelan" > /dev/null 2>&1 || true
    # Long enough, under valgrind, for the frame to be shown and the warm-up done; then ended, which callgrind
    # still records.
    output="$work/callgrind-${#outputs[@]}.out"
    timeout -s TERM "${STARTUP_ORDER_SECONDS:-40}" \
        valgrind --tool=callgrind --demangle=no --callgrind-out-file="$output" "$build/src/virelan" \
        > /dev/null 2> "$work/valgrind.log" || true
    [ -s "$output" ] || { cat "$work/valgrind.log" >&2; exit 1; }
    outputs+=("$output")
done

python3 - "$source_dir/src/startup.order" "${outputs[@]}" << 'EOF'
import re, sys

# callgrind names an object or a function in full once, then by its number alone, in each file.
names = {}
functions = set()
for path in sys.argv[2:]:
    current_object = ""
    for line in open(path, errors="replace"):
        match = re.match(r"(c?ob|c?fn)=\((\d+)\)(?: (.*))?$", line.rstrip("\n"))
        if not match:
            continue
        key, number, name = match.groups()
        table = names.setdefault((path, key.lstrip("c")), {})
        if name:
            table[number] = name
        if key == "ob":
            current_object = table[number]
        elif key == "fn" and current_object.endswith("/virelan"):
            functions.add(table[number])

sections = set()
for name in functions:
    name = re.sub(r"'\d+$", "", name)  # callgrind's mark of a recursive call
    if not name.startswith("_Z"):
        continue  # main and the static initialisers are in .text.startup, addresses without a name
    # Complete constructors and destructors are aliases of the base ones, whose sections hold the code.
    name = re.sub(r"(C|D)1(E|Ev$)", r"\g<1>2\2", name)
    sections.add(".text." + name)

with open(sys.argv[1], "w") as out:
    out.write(".text.startup\n.text.startup.*\n")
    for section in sorted(sections):
        out.write(section + "\n")
print(f"{len(sections)} functions written to {sys.argv[1]}")
EOF
