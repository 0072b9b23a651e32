#!/bin/bash
# Installs the Debian packages that the builds and tests need, when run as
# root and they are missing. Otherwise it only says what is missing.
set -eu
packages=(
    cmake make g++ libgtest-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    openjdk-17-jdk-headless
    wine64 xvfb xdotool imagemagick icoutils
    clang valgrind hyperfine zip unzip
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" != 0 ]; then
    echo "Missing Debian packages (install them as root): ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
