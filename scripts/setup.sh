#!/usr/bin/env bash
# Installs the Debian packages Varnolt needs to build, test and run, when any is missing.
# Runs as root, or through sudo when it is available.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    clang libclang-rt-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    qt6-charts-dev libqt6opengl6-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libftdi1-dev umockdev libumockdev-dev
    tshark sigrok-cli xxd
    fonts-dejavu-core fonts-ipafont-gothic
    lintian desktop-file-utils appstream shared-mime-info man-db groff-base libglib2.0-bin
    dpkg-dev file bash-completion
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
