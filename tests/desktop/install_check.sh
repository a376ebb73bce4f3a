#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks the installed tree: the program, its help file in the
# data folder, the menu entry, the icons, the class file type and the metainfo. The two validators
# (desktop-file-utils, appstream) must accept the entry and the metainfo; without them the test is skipped
# after the tree checks.
#   install_check.sh <build folder> <install prefix> <source folder> <desktop id> <class file type> <library folder>
set -euo pipefail
build=$1 prefix=$2 source=$3 id=$4 mime=$5 libdir=$6

dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" > /dev/null
root="$dest$prefix"
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -x "$root/bin/virelan" ] || fail "no executable bin/virelan"
cmp -s "$root/share/virelan/Virelan.hlp" "$source/data/Virelan.hlp" || fail "help file not in share/virelan"
# Qt's print support comes with the printer's module, not with the program.
needs() { readelf -d "$1" | grep -q "(NEEDED).*\[$2"; }
module="$root/$libdir/virelan/virelan-printer.so"
[ -f "$module" ] || fail "no printer module $libdir/virelan/virelan-printer.so"
needs "$module" libQt6PrintSupport || fail "the printer module does not load Qt's print support"
! needs "$root/bin/virelan" libQt6PrintSupport || fail "the program loads Qt's print support at start-up"

entry="$root/share/applications/$id.desktop"
[ -f "$entry" ] || fail "no menu entry $id.desktop"
grep -qx 'Exec=virelan %F' "$entry" || fail "the entry does not start virelan with the files"
grep -qx "MimeType=$mime;" "$entry" || fail "the entry does not name the class file type"
grep -qx "Icon=$id" "$entry" || fail "the entry does not name the icon"
grep -qx 'Categories=Education;' "$entry" || fail "the entry is not in Education"

# One PNG per hicolor size, each as large as its folder says (width and height from the PNG header).
for size in 16 22 24 32 48 64 128 256; do
    png="$root/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || fail "no ${size} pixel icon"
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [ "$w $h" = "$size $size" ] || fail "the ${size} pixel icon is ${w}x${h}"
done

package="$root/share/mime/packages/$id.xml"
grep -q "<mime-type type=\"$mime\">" "$package" || fail "no class file type"
grep -q '<glob pattern="\*.prf"/>' "$package" || fail "no *.prf glob"
grep -q '<icon name="'"$id"'"/>' "$package" || fail "the class file type has not the program's icon"

missing=()
if command -v update-mime-database > /dev/null; then
    # The database built from the installed package matches *.prf whatever its case (no ":cs" flag).
    update-mime-database "$root/share/mime" 2> /dev/null
    grep -qx "50:$mime:\*.prf" "$root/share/mime/globs2" || fail "*.prf does not give $mime"
else
    missing+=(update-mime-database)
fi
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
else
    missing+=(desktop-file-validate)
fi
if command -v appstreamcli > /dev/null; then
    # The tree check also finds the entry that the metainfo launches.
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli refuses the metainfo"
else
    missing+=(appstreamcli)
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "installed tree checked; not found, so not run: ${missing[*]}"
    exit 77
fi
echo "installed tree and validators: all good"
