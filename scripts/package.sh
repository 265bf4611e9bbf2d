#!/usr/bin/env bash
# Builds what a Windows user downloads, into build/dist/:
#   orvelle-<version>-setup.exe   the setup program (installer/orvelle.nsi)
#   orvelle-<version>-portable.zip the program folder to unpack and run as it is
# Sets up a fresh Debian machine first, like the README's commands.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/deps.sh run
jobs="${ORVELLE_JOBS:-2}"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j"$jobs" --target orvelle_setup
stage="$root/build/mingw/installer/stage/Orvelle"
setup=$(ls "$root"/build/mingw/installer/orvelle-*-setup.exe | head -n 1)
version=$(basename "$setup" | sed -E 's/^orvelle-(.*)-setup\.exe$/\1/')
dist="$root/build/dist"
mkdir -p "$dist"
cp -f "$setup" "$dist/"
zip="$dist/orvelle-$version-portable.zip"
rm -f "$zip"
# The zip holds one folder, Orvelle\, as the setup installs it (without the
# uninstaller: a portable copy is removed by deleting its folder).
(cd "$(dirname "$stage")" && cmake -E tar cf "$zip" --format=zip Orvelle)
echo "$dist/$(basename "$setup")"
echo "$zip"
