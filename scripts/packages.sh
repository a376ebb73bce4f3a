# Sourced by the scripts: what Vire Lan needs from Debian 12, and install_missing, which installs only the
# packages that are not there yet (nothing when all are).
base_packages=(
    build-essential cmake
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
    libjpeg62-turbo-dev zlib1g-dev pkg-config
    # Not the program's: the export's benchmark yardstick (bench/XlsxYardstick.c) writes its workbook with it.
    libxlsxwriter-dev
    qt6-translations-l10n
    fonts-liberation fonts-dejavu-core
    xvfb xauth
)

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

# Only the tests need these: poppler's PDF tools and LibreOffice (Writer and Calc) read back what the program
# prints, saves and exports, the URW fonts are families that several foundries provide, the validators check the
# menu entry and the metainfo, xdotool drives the end-to-end test, and python3's zip reader reads an exported
# workbook back.
test_packages=(poppler-utils libreoffice-writer-nogui libreoffice-calc-nogui fonts-urw-base35 desktop-file-utils appstream xdotool python3)
