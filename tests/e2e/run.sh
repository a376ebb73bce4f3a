#!/usr/bin/env bash
# End-to-end test: a teacher's first day with Vire Lan, then the next morning, driven through the real
# program's menus, keys and mouse on a virtual screen (Xvfb and xdotool: real X key and pointer events, as a
# person gives them; no test code inside the program). Every file the program writes is compared with the
# bytes in tests/e2e/expected/, written by hand from the file formats; the printed PDFs by their words.
#   bash tests/e2e/run.sh [virelan executable]          (default: build/src/virelan)
# Exits 77 (skipped) when a tool it needs is missing. Waits are for windows, files or the program's end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "${1:-$here/../../build/src/virelan}")

for tool in Xvfb xdotool pdftotext pdfimages; do
    command -v "$tool" > /dev/null || { echo "e2e skipped: $tool not found"; exit 77; }
done
[ -x "$exe" ] || { echo "e2e: no executable $exe" >&2; exit 1; }

work=$(mktemp -d /tmp/virelan-e2e.XXXXXX)
source "$here/drive.sh"
prof=$work/prof       # the folder the teacher starts the program from: the notes and phrases live here
classes=$work/classes # where the class and its companion files are saved
mkdir -p "$prof" "$classes"
cp "$here/photo.jpg" "$work/photo.jpg"
screen 1280x800
today="" year=""
# The date the program reads from the clock, as the report and the planning show it.
dates() {
    today=$(date +%d/%m/%Y)
    year=$(date +%Y)
}

# --- checking -------------------------------------------------------------------------------------------

# The expected bytes, with the run's folder, today's date and year in place of @WORK@, @DATE@ and @YEAR@.
expected() {
    LC_ALL=C sed -e "s|@WORK@|$work|g" -e "s|@DATE@|$today|g" -e "s|@YEAR@|$year|g" "$here/expected/$1"
}
same() {
    [ -f "$1" ] || fail "$1 was not written"
    expected "$2" > "$work/expected.bytes"
    cmp -s "$work/expected.bytes" "$1" || {
        diff <(od -An -c "$work/expected.bytes") <(od -An -c "$1") | head -30 >&2
        fail "$1 is not expected/$2"
    }
}
# A printed page: its words in the order the program drew them, and the number of pictures on it.
printed() {
    [ -f "$1" ] || fail "$1 was not printed"
    pdftotext -raw "$1" - | tr -s ' \t\n\f' '\n' | sed '/^$/d' > "$work/words"
    expected "$2" > "$work/expected.words"
    diff "$work/expected.words" "$work/words" >&2 || fail "$1 does not show the words of expected/$2"
    local pictures
    pictures=$(pdfimages -list "$1" | tail -n +3 | wc -l)
    [ "$pictures" -eq "$3" ] || fail "$1 holds $pictures pictures, not $3"
}

# --- day one: a new class ---------------------------------------------------------------------------------

start "$prof"
dates
keys_to "Vire Lan" alt+f n

# Three rubrics with their coefficients; the other 27 lose theirs, so that they count in no average.
keys_to "Vire Lan" alt+c r
type_to "Définition des rubriques" "Dictée"; keys Tab; text "2"; keys Tab
text "Oral"; keys Tab; text "1"; keys Tab
text "TP"; keys Tab; text "0,5"; keys Tab Right
for _ in $(seq 27); do keys Return BackSpace Return Down; done
click "Définition des rubriques" 260 16
gone "Définition des rubriques"

# Three student cards; the first one complete, with a photo and two lines of remarks.
keys_to "Vire Lan" alt+v f
text "Martin"; keys Tab; text "Léa"; keys Tab; text "12/05/2014"; keys Tab; text "6eA"
# The photo frame, at the right of the address on the card of the first class window.
click "Vire Lan" 513 244
file_dialog "Ouvrir" "$work/photo.jpg"
keys_to "Vire Lan" Tab
text "3 rue des Lilas"; keys Tab Tab; text "35000"; keys Tab; text "Rennes"; keys Tab; text "0299000000"
keys Tab Tab; text "Boulanger"; keys Tab; text "Infirmière"; keys Tab; text "Vétérinaire"; keys Tab
text "Très bonne élève."; keys Return; text "Participe volontiers."
keys Page_Down
text "Petit"; keys Tab; text "Lucas"; keys Page_Down
text "Bernard"; keys Tab; text "Chloé"

# Back to the grid: the marks, row after row from the first cell of student 1.
keys_to "Vire Lan" alt+v c
click "Vire Lan" 247 141
text "1450"; keys Tab; text "16"; keys Tab; text "12"; keys Down Home
text "08"; keys Tab; text "11"; keys Tab; text "09"; keys Down Home
text "12"; keys Tab; text "13"; keys Tab; text "15"; keys Return ctrl+Home
# The class sorted by mistake, then the first student deleted: both taken back, the sort with its keys (after a redo),
# the deletion from the menu. The files saved below hold the class as it was.
keys_to "Vire Lan" alt+c t ctrl+z ctrl+y ctrl+z
keys_to "Vire Lan" alt+e s
keys_to "Vire Lan" alt+e a

# First save: the class has no name yet.
keys_to "Vire Lan" ctrl+s
file_dialog "Enregistrer sous" "$classes/6A"

# The report of the whole class, saved as text, then with its first line in bold as RTF.
keys_to "Vire Lan" alt+c c
window "Texte" > /dev/null
click "Texte" 18 16
file_dialog "Enregistrer sous" "$work/rapport"
click "Texte" 8 75
keys_to "Texte" shift+End
click "Texte" 402 16
click "Texte" 18 16
# The second file type ("Format rtf") first, while the name box is empty and offers no completion.
keys_to "Enregistrer sous" Tab Down shift+Tab
file_dialog "Enregistrer sous" "$work/bilan"
close_texte

# The class sheet, printed into a PDF file through the print dialog.
keys_to "Vire Lan" alt+f i
keys_to "Imprimer" alt+f ctrl+a
text "$work/feuille.pdf"
confirm "Imprimer"

# Two homework dates: row 1 (the first of the left column) and row 3 (the second of the left column).
keys_to "Vire Lan" alt+c d
keys_to "Dates des devoirs" Tab
text "15032027"; keys Tab; text "Rédaction"; keys Tab
text "02042027"; keys Tab; text "Récitation"
click "Dates des devoirs" 473 16
gone "Dates des devoirs"

# The seating plan: a desk named and dragged, a desk left unnamed and turned.
keys_to "Vire Lan" alt+c p
click "Plan de la classe" 28 16
type_to "Nom de l'élève" "Martin Léa"
click "Nom de l'élève" 249 48
gone "Nom de l'élève"
drag "Plan de la classe" 250 192 150 100
click "Plan de la classe" 28 16
window "Nom de l'élève" > /dev/null
click "Nom de l'élève" 249 48
gone "Nom de l'élève"
click "Plan de la classe" 250 192
click "Plan de la classe" 100 16
click "Plan de la classe" 476 16
gone "Plan de la classe"

# The planning of this year: 2 February for subject 1, 5 and 6 March for subject 3.
keys_to "Vire Lan" alt+o p
click "Planning" 66 284
click "Planning" 112 76
click "Planning" 178 284
click "Planning" 163 93
click "Planning" 180 93
click "Planning" 557 16
gone "Planning"

# A phrase for the reports, and a note.
keys_to "Vire Lan" alt+o a
click "Observations" 150 16
type_to "Observations" "Bon trimestre, continuez ainsi."; keys Return
click "Observations" 389 236
gone "Observations"
keys_to "Vire Lan" alt+u b
type_to "Bloc-notes" "Conseil de classe le 12 mars."; keys Return; text "Apporter les bulletins."
click "Bloc-notes" $(($(width_of "Bloc-notes") - 75)) 16
gone "Bloc-notes"

keys_to "Vire Lan" ctrl+s
# A last change, on the second card, then quitting: the program asks, the default answer saves.
keys_to "Vire Lan" alt+v f Page_Down Tab Tab Tab Tab Tab Tab Tab
text "Brest"
keys_to "Vire Lan" ctrl+x
keys_to "Avertissement" Return
ended

same "$classes/6A.prf" 6A.prf
same "$classes/6A.prd" 6A.prd
same "$classes/6A.prc" 6A.prc
same "$classes/6A.prp" 6A.prp
same "$work/rapport.txt" rapport.txt
same "$work/bilan.rtf" rapport.rtf
same "$prof/Virelan.nte" Virelan-1.nte
same "$prof/Virelan.obs" Virelan-1.obs
printed "$work/feuille.pdf" feuille.words 0
[ "$(ls "$classes")" = "$(printf '6A.prc\n6A.prd\n6A.prf\n6A.prp')" ] || fail "other files in $classes: $(ls "$classes")"

# --- day two: the class opened from the file manager ------------------------------------------------------

cp "$classes/6A.prf" "$work/6A.prf.day1"
start "$prof" -platform xcb ../classes/6A.prf
dates
# The same report from the class read back, for the whole class (a single cell is selected).
keys_to "Vire Lan" alt+c c
click "Texte" 18 16
file_dialog "Enregistrer sous" "$work/rapport2"
close_texte
# The first card, with its photo, printed.
keys_to "Vire Lan" alt+v f alt+f i
keys_to "Imprimer" alt+f ctrl+a
text "$work/fiche.pdf"
confirm "Imprimer"
# One more note and one more phrase: the first ones were read back.
keys_to "Vire Lan" alt+u b
keys_to "Bloc-notes" ctrl+End Return
text "Réunion des parents jeudi."
click "Bloc-notes" $(($(width_of "Bloc-notes") - 75)) 16
gone "Bloc-notes"
keys_to "Vire Lan" alt+o a
click "Observations" 397 20
click "Observations" 150 16
type_to "Observations" "Travail irrégulier."; keys Return
click "Observations" 389 236
gone "Observations"
keys_to "Vire Lan" ctrl+x
ended

same "$work/rapport2.txt" rapport.txt
printed "$work/fiche.pdf" fiche.words 1
cmp -s "$classes/6A.prf" "$work/6A.prf.day1" || fail "the class file changed without any change to the class"
same "$classes/6A.prd" 6A.prd
same "$classes/6A.prc" 6A.prc
same "$classes/6A.prp" 6A.prp
same "$prof/Virelan.nte" Virelan-2.nte
same "$prof/Virelan.obs" Virelan-2.obs
[ "$(ls "$prof")" = "$(printf 'Virelan.nte\nVirelan.obs')" ] || fail "other files in $prof: $(ls "$prof")"
echo "e2e: every file as expected"
