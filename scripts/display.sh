# Sourced by the scripts that run the program on a virtual display of their own.
#
# make_work: a scratch folder, $work, removed at the script's exit with the display started for it.
# start_display: a fresh Xvfb (1280 x 800, no window manager, nothing else on it, no key left pressed), its log in
# $work; exports DISPLAY.
make_work() {
    work=$(mktemp -d)
    xvfb_pid=
    trap end_work EXIT
}

end_work() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
    rm -rf "$work"
}

start_display() {
    exec 3> "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    until [ -s "$work/display" ]; do sleep 0.1; done
    export DISPLAY=":$(head -1 "$work/display")"
}
