#!/usr/bin/env bash
# Screenshots of the main windows for the README, taken from the real program on a virtual screen: a class of
# twelve students opened from the command line, then its grid, a card with its photo, the report, the two
# charts, the seating plan and the planning.
#   bash scripts/gallery.sh [output folder] [executable]      (default: docs/gallery, build/src/virelan)
#   scale=2 bash scripts/gallery.sh /tmp/gallery-200           the same at 200 % (QT_SCALE_FACTOR=2)
# Needs Xvfb, xdotool and ImageMagick's import (apt-get install xvfb xdotool imagemagick).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/gallery}")
exe=$(realpath "${2:-$root/build/src/virelan}")
for tool in Xvfb xdotool import iconv; do
    command -v "$tool" > /dev/null || { echo "gallery: $tool not found" >&2; exit 1; }
done
[ -x "$exe" ] || { echo "gallery: no executable $exe (build it first)" >&2; exit 1; }

work=$(mktemp -d /tmp/virelan-gallery.XXXXXX)
source "$root/tests/e2e/drive.sh"
mkdir -p "$out" "$work/classes"
cp "$root/tests/e2e/photo.jpg" "$work/classes/photo.jpg"
year=$(date +%Y)

# Windows-1252 text with CR LF line ends, as the program reads it.
cp1252() { iconv -f UTF-8 -t CP1252 | sed 's/$/\r/'; }

# The class: rubric columns 2 to 5 widened to 60 pixels (03C), four rubrics with their coefficients, twelve
# students and their marks, the first card complete with its photo.
{
    printf '0C0%s%s\n' "$(printf '03C%.0s' 1 2 3 4)" "$(printf '020%.0s' $(seq 26))"
    printf '0002Dictée\n0003Calcul\n0004Oral\n0005Exposé\n01022\n01031\n01041\n01050,5\n'
    row=2
    while read -r surname first marks; do
        row_hex=$(printf '%02X' "$row")
        slot=2
        for mark in $marks; do
            printf '%s%02X%s\n' "$row_hex" "$slot" "$mark"
            slot=$((slot + 1))
        done
        printf '%s21%s\n%s22%s\n' "$row_hex" "$surname" "$row_hex" "$first"
        row=$((row + 1))
    done << 'EOF'
Martin Léa 14,5 16 12 15
Bernard Chloé 12 13 15 14
Petit Lucas 8 11 9 10
Durand Hugo 11 9,5 13 12
Lefèvre Inès 16 17,5 14 18
Moreau Théo 9 7 10 8,5
Garnier Jade 13 12 11 14
Roux Nathan 10,5 14 12 9
Fournier Manon 15 13,5 16 17
Girard Enzo 7 8 9,5 11
Bonnet Camille 12,5 15 13 12
Dupont Louis 10 10 11 10,5
EOF
    printf '022312/05/2014\n02246eA\n02253 rue des Lilas\n022735000\n0228Rennes\n02290299000000\n'
    printf '022BVétérinaire\n022CTrès bonne élève.\vParticipe volontiers.\n022D%s\n' "$work/classes/photo.jpg"
    printf '022EBoulanger\n022FInfirmière\n'
} | cp1252 > "$work/classes/6A.prf"

# The seating plan: three rows of desks facing the teacher's.
{
    x=40
    for name in "Martin Léa" "Bernard Chloé" "Petit Lucas" "Durand Hugo"; do printf '%s,%d,60,100,25\n' "$name" $x; x=$((x + 120)); done
    x=40
    for name in "Lefèvre Inès" "Moreau Théo" "Garnier Jade" "Roux Nathan"; do printf '%s,%d,120,100,25\n' "$name" $x; x=$((x + 120)); done
    x=40
    for name in "Fournier Manon" "Girard Enzo" "Bonnet Camille" "Dupont Louis"; do printf '%s,%d,180,100,25\n' "$name" $x; x=$((x + 120)); done
} | cp1252 > "$work/classes/6A.prc"

# The planning of this year: a few weeks of each of four subjects.
{
    printf ' \n'
    for month in 1 2 3 4 5 6 7 8 9 A B C; do
        case $month in
            9) days='               11111  22222  3' ;;
            A) days='33  44444  11111  22222  33333  ' ;;
            B) days='  11111  22222  33333  44444  ' ;;
            *) days='' ;;
        esac
        printf '%s%s%-31s\n' "$year" "$month" "$days"
    done
} | cp1252 > "$work/classes/6A.prp"

screen "$((760 * scale))x$((520 * scale))"
start "$work/classes" 6A.prf

shot() { import -window "$(window "$1")" "$out/$2.png"; }
shot "Vire Lan" classe
keys_to "Vire Lan" alt+v f
shot "Vire Lan" fiche
keys_to "Vire Lan" alt+v c alt+c c
shot "Texte" rapport
close_texte
keys_to "Vire Lan" alt+c g
shot "Graphique des moyennes" graphique
click "Graphique des moyennes" 476 16
gone "Graphique des moyennes"
keys_to "Vire Lan" alt+c s
shot "Suivi d'un élève" suivi
click "Suivi d'un élève" 476 16
gone "Suivi d'un élève"
keys_to "Vire Lan" alt+c p
shot "Plan de la classe" plan
click "Plan de la classe" 476 16
gone "Plan de la classe"
keys_to "Vire Lan" alt+o p
shot "Planning" planning
click "Planning" 557 16
gone "Planning"
keys_to "Vire Lan" ctrl+x
ended
echo "gallery: $(ls "$out" | tr '\n' ' ')in $out"
