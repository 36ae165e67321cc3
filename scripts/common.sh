# Shared by the set-up scripts: installs what is missing and builds.
set -euo pipefail

QUORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORVANE_PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libicu-dev qt6-base-dev qt6-translations-l10n)
# What the test command needs besides: the style checkers, pdftotext for reading printed
# listings back, and a FAT volume mounted with FUSE (fusefat, mkfs.vfat) for renames there.
QUORVANE_TEST_PACKAGES=(clang-format clang-tidy poppler-utils fusefat dosfstools)

# install_missing_packages [more packages...]: installs the Debian packages of QUORVANE_PACKAGES
# and the arguments that are not installed yet (apt only when something is missing).
install_missing_packages() {
    local missing=()
    for package in "${QUORVANE_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_tree DIR [cmake options...]: configures one build tree.
configure_tree() {
    local dir=$1
    shift
    cmake -S "$QUORVANE_ROOT" -B "$QUORVANE_ROOT/$dir" -G Ninja "$@" >/dev/null
}

# build_tree DIR [cmake options...]: configures and builds one tree.
build_tree() {
    configure_tree "$@"
    cmake --build "$QUORVANE_ROOT/$1"
}
