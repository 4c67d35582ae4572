#!/usr/bin/env bash
# Installs what building, running and testing the utility need, from Debian's packages.
# Quick when everything is there already. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format
    qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
    fonts-liberation fonts-dancingscript
    xvfb xauth x11-utils libxcb1-dev
    desktop-file-utils appstream dpkg-dev
    g++-mingw-w64-x86-64-posix
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
