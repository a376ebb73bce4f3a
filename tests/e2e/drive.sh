# Drives the real program on a virtual screen of its own, as a person would: Xvfb for the screen, xdotool for
# real X key and pointer events (no test code inside the program). Sourced by tests/e2e/run.sh and
# scripts/gallery.sh, which set $work (a scratch folder) and $exe (the executable) first.
# Every wait is for a window, a file or the program's end, never a fixed time.

app="" xvfb=""
# Positions are given in the program's own pixels; under QT_SCALE_FACTOR=2 ($scale 2) the screen's are twice.
scale=${scale:-1}
export LC_ALL=C.UTF-8
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"

fail() {
    echo "FAIL: $*" >&2
    command -v import > /dev/null && import -window root "$work/failure.png" 2> /dev/null &&
        echo "the screen at that moment: $work/failure.png" >&2
    exit 1
}

# Ends the program and the screen; the scratch folder goes too, unless the run failed.
finish() {
    local status=$?
    if [ -n "$app" ]; then kill "$app" 2> /dev/null || true; fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2> /dev/null || true; fi
    if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "files kept in $work" >&2; fi
}
trap finish EXIT

# screen <width>x<height>: a display of our own, used once it answers. Its number is one that neither a lock
# file nor a listening socket shows in use (other X servers on the machine may not share our /tmp, but they
# share the socket names). Two runs may pick the same number at the same moment: the display is ours only
# when its lock file names our server; otherwise the next number is tried. -noreset: by default the server resets
# when its last client leaves (the xdotool that found it answering), and a program connecting during the reset is
# refused.
screen() {
    local n=$((200 + RANDOM % 500))
    for _ in $(seq 50); do
        if [ ! -e "/tmp/.X$n-lock" ] && ! grep -q "/tmp/.X11-unix/X$n\$" /proc/net/unix 2> /dev/null; then
            Xvfb ":$n" -screen 0 "$1x24" -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
            xvfb=$!
            for _ in $(seq 100); do
                kill -0 "$xvfb" 2> /dev/null || break
                if DISPLAY=":$n" xdotool getmouselocation > /dev/null 2>&1; then
                    if [ "$(tr -d ' \n' < "/tmp/.X$n-lock" 2> /dev/null)" = "$xvfb" ] && kill -0 "$xvfb" 2> /dev/null; then
                        export DISPLAY=":$n"
                        return 0
                    fi
                    break
                fi
                sleep 0.05
            done
            kill "$xvfb" 2> /dev/null || true
            xvfb=""
        fi
        n=$((n + 1))
    done
    fail "no X display could be started"
}

# start <folder> [arguments...]: starts the program in that folder and waits for its main frame.
start() {
    local folder=$1
    shift
    (cd "$folder" && exec env -u QT_QPA_PLATFORM QT_SCALE_FACTOR="$scale" HOME="$work/home" \
        XDG_RUNTIME_DIR="$work/run" "$exe" "$@") >> "$work/program.log" 2>&1 &
    app=$!
    window "Vire Lan" > /dev/null
}
# Waits for the program to end by itself.
ended() {
    for _ in $(seq 400); do
        kill -0 "$app" 2> /dev/null || break
        sleep 0.05
    done
    kill -0 "$app" 2> /dev/null && fail "the program did not end"
    wait "$app" || fail "the program ended with status $?"
    app=""
}

# The windows of that exact title on screen. (xdotool gives up on an X error when a window closes while it
# looks: an empty answer then, and the callers ask again.)
find_windows() { xdotool search --onlyvisible --name "^$1\$" 2> /dev/null || true; }
# The window of that title, once it is on screen.
window() {
    local id="" deadline=$((SECONDS + 20))
    while :; do
        id=$(find_windows "$1" | head -1)
        [ -n "$id" ] && break
        [ "$SECONDS" -lt "$deadline" ] || fail "no window \"$1\""
        sleep 0.05
    done
    echo "$id"
}
# Waits until no window of that title is on screen (two answers in a row).
gone() {
    local empty=0
    for _ in $(seq 400); do
        if [ -z "$(find_windows "$1")" ]; then
            empty=$((empty + 1))
            [ "$empty" -ge 2 ] && return 0
        else
            empty=0
        fi
        sleep 0.05
    done
    fail "the window \"$1\" stayed open"
}

# Keys and text for the window of that title. The keyboard focus is given to it first (there is no window
# manager to do it); the keys then go through the X server's test input like a keyboard's (a key command
# chained to a window would send synthetic events instead).
focus() {
    local id
    id=$(window "$1")
    xdotool windowfocus --sync "$id"
}
keys() { xdotool key --delay 20 "$@"; }
# Text as typed on the keyboard. A letter the keyboard map lacks (é, è, à) gets a spare key from xdotool for
# the time of its call: each goes in a call of its own, long enough for a busy program to have read the key map
# with it before the key is given back (the map is read again when it changes, not with the key).
text() {
    local s=$1 run="" c i
    for ((i = 0; i < ${#s}; i++)); do
        c=${s:i:1}
        if [[ $c == [[:print:]] && $(printf '%d' "'$c") -lt 128 ]]; then
            run+=$c
        else
            [ -n "$run" ] && xdotool type --delay 12 -- "$run"
            run=""
            xdotool type --delay 400 -- "$c"
        fi
    done
    [ -n "$run" ] && xdotool type --delay 12 -- "$run"
    return 0
}
keys_to() {
    focus "$1"
    shift
    keys "$@"
}
type_to() {
    focus "$1"
    text "$2"
}
# A click at (x, y) inside the window of that title.
click() {
    local id
    id=$(window "$1")
    xdotool mousemove --sync --window "$id" $(($2 * scale)) $(($3 * scale))
    xdotool click 1
}
width_of() {
    local id
    id=$(window "$1")
    echo $(($(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p') / scale))
}
# A file dialog ("Enregistrer sous", "Ouvrir"): the name typed into its name box, then Enter.
# Return in a dialog whose file name box may still show a completion list: a Return the list takes closes only
# the list, so Return is given again while the dialog stays (at most three times).
confirm() {
    local try
    for try in 1 2 3; do
        focus "$1"
        keys Return
        for _ in $(seq 40); do
            [ -z "$(find_windows "$1")" ] && break
            sleep 0.05
        done
        [ -z "$(find_windows "$1")" ] && break
    done
    gone "$1"
}
file_dialog() {
    type_to "$1" "$2"
    confirm "$1"
}
# The "Fermer" button of the text editor, which follows the window's width.
close_texte() {
    click "Texte" $(($(width_of "Texte") - 96 + 37)) 16
    gone "Texte"
}
# A drag with the left button from (x1, y1) to (x2, y2) inside the window of that title.
drag() {
    local id
    id=$(window "$1")
    xdotool mousemove --sync --window "$id" $(($2 * scale)) $(($3 * scale))
    xdotool mousedown 1
    xdotool mousemove --sync --window "$id" $(($4 * scale)) $(($5 * scale))
    xdotool mouseup 1
}
