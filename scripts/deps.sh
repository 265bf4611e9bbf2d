#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this
# machine lacks. Idempotent: an up-to-date machine costs one dpkg query.
# deps.sh [run|test]   (run: only what building and starting orvelle.exe needs)
set -euo pipefail
what="${1:-test}"
packages=(cmake ninja-build g++ googletest libgtest-dev
          g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev mingw-w64-tools libwine-dev
          wine64 fonts-wine fonts-dejavu-core xvfb xauth x11-apps imagemagick
          nsis fp-utils python3)
if [ "$what" = test ]; then
    packages+=(libbenchmark-dev clang-format)
fi
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" != 0 ]; then sudo=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
