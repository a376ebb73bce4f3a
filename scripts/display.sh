# Sourced by the scripts that run the program on a virtual display of their own. start_display <folder> starts a
# fresh Xvfb (1280 x 800, no window manager, nothing else on it, no key left pressed), its log in <folder>,
# exports DISPLAY and sets xvfb_pid, which the caller ends.
start_display() {
    exec 3> "$1/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset > "$1/xvfb.log" 2>&1 &
    xvfb_pid=$!
    until [ -s "$1/display" ]; do sleep 0.1; done
    export DISPLAY=":$(head -1 "$1/display")"
}
