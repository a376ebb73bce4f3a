#!/usr/bin/env bash
# End-to-end test of the recovery after a crash: marks typed into a saved class, the program killed (kill -9)
# while the last one is still being typed, then started again: "Récupération" offers the class, "Récupérer" brings
# it back as it was, nothing is written beside the class until "Enregistrer" (Ctrl+S), which writes every mark.
#   bash tests/e2e/crash.sh [virelan executable]       (E2E_SHOTS=<folder> keeps a screenshot of the dialog)
# Exits 77 (skipped) when a tool it needs is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "${1:-$here/../../build/src/virelan}")

for tool in Xvfb xdotool; do
    command -v "$tool" > /dev/null || { echo "e2e skipped: $tool not found"; exit 77; }
done
[ -x "$exe" ] || { echo "e2e: no executable $exe" >&2; exit 1; }

work=$(mktemp -d /tmp/virelan-crash.XXXXXX)
source "$here/drive.sh"
prof=$work/prof classes=$work/classes
recovery="$work/home/.local/share/Vire Lan/recovery"
mkdir -p "$prof" "$classes"
screen 1280x800

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Everything in the class folder, hidden files included, with the bytes of each file; the lock of a class open
# is there while it is open.
folder_state() { (cd "$classes" && find . -type f ! -name '.*.lock' -exec md5sum {} + | sort); }

# --- a class saved, then marks typed, and the program killed -----------------------------------------------

start "$prof"
keys_to "Vire Lan" alt+f n
click "Vire Lan" 247 141
text "12"; keys Tab; text "15"; keys Tab
keys_to "Vire Lan" ctrl+s
file_dialog "Enregistrer sous" "$classes/6B"
for _ in $(seq 100); do [ -s "$classes/6B.prf" ] && break; sleep 0.05; done
[ -s "$classes/6B.prf" ] || fail "6B.prf was not saved"
saved=$(folder_state)

# Student 2: 8, then 9 still being typed (its cell editor open) when the program is killed.
keys_to "Vire Lan" Down Home
text "8"; keys Tab; text "9"
typed=$(now_ms)
# Within two seconds of the last key the copy holds it (records of student 2, rubrics 1 and 2).
until grep -aqx $'03028\r' "$recovery"/*.vlr 2> /dev/null && grep -aqx $'03039\r' "$recovery"/*.vlr 2> /dev/null; do
    [ $(($(now_ms) - typed)) -lt 2000 ] || fail "no recovery copy of the last marks within two seconds"
    sleep 0.02
done
kill -9 "$app"
wait "$app" 2> /dev/null || true
app=""
[ "$(folder_state)" = "$saved" ] || fail "the class folder changed before the class was saved"

# --- the next start ----------------------------------------------------------------------------------------

left=$(ls "$recovery"/*.vlr)
start "$prof"
window "Récupération" > /dev/null
if [ -n "${E2E_SHOTS:-}" ]; then
    sleep 0.5
    import -window root "$E2E_SHOTS/recuperation.png"
fi
keys_to "Récupération" Return
gone "Récupération"
# Brought back, the class's copy is the new run's own.
for _ in $(seq 100); do [ -e "$left" ] || break; sleep 0.05; done
[ -e "$left" ] && fail "the copy was not taken over"
[ "$(folder_state)" = "$saved" ] || fail "the class folder changed before the class was saved"
[ -n "${E2E_SHOTS:-}" ] && import -window root "$E2E_SHOTS/recuperee.png"
keys_to "Vire Lan" ctrl+s
for _ in $(seq 100); do [ "$(folder_state)" != "$saved" ] && break; sleep 0.05; done
keys_to "Vire Lan" ctrl+x
ended

# The class file as a save writes it (header: column 1 is 192 pixels, 0C0, the 30 rubrics 32, 020; then the
# records, row + 1 and slot in hexadecimal, then the text). The class came back through the grid, so every
# number is in the grid's form: the default headings 1 to 30, the coefficients 1, and the four marks.
{
    printf '0C0'
    for _ in $(seq 30); do printf '020'; done
    printf '\r\n'
    for slot in $(seq 2 31); do printf '00%02X%d,00\r\n' "$slot" $((slot - 1)); done
    for slot in $(seq 2 31); do printf '01%02X1,00\r\n' "$slot"; done
    printf '020212,00\r\n020315,00\r\n03028,00\r\n03039,00\r\n'
} > "$work/6B.expected"
cmp -s "$work/6B.expected" "$classes/6B.prf" || {
    diff <(od -An -c "$work/6B.expected") <(od -An -c "$classes/6B.prf") | head -20 >&2
    fail "6B.prf does not hold the marks brought back"
}
# A clean end leaves no copy and no lock behind.
[ -z "$(ls -A "$recovery")" ] || fail "left in the recovery folder: $(ls -A "$recovery")"
[ -z "$(find "$classes" -name '.*.lock')" ] || fail "a lock is left beside the class"
echo "e2e: the marks typed before the kill were brought back and saved"
