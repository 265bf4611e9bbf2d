#!/usr/bin/env bash
# Builds orvelle.exe and starts it: natively on Windows, under Wine here, in
# a private prefix inside the build folder with HOME pointed at a throw-away
# folder, so nothing the program does reaches your own files or Wine setup.
# Without a display it runs on a virtual one and saves a screenshot.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/deps.sh run
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j"${ORVELLE_JOBS:-2}" --target orvelle
exe="$(find "$root/build/mingw" -name orvelle.exe -path '*app*' | head -n 1)"
[ -n "$exe" ] || exe="$(find "$root/build/mingw" -name orvelle.exe | head -n 1)"
export ORVELLE_WINE_ROOT="$root/build/wine-run"
export WINEPREFIX="$ORVELLE_WINE_ROOT/prefix"
scripts/wine-prefix "$WINEPREFIX" >/dev/null
if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-run "$exe"
fi
pidfile="$ORVELLE_WINE_ROOT/xvfb.pid"
DISPLAY="$(scripts/xvfb-start "$pidfile")"
export DISPLAY
echo "No display: running on the virtual display $DISPLAY for ${ORVELLE_RUN_SECONDS:-15} s"
scripts/wine-run "$exe" &
pid=$!
sleep "${ORVELLE_RUN_SECONDS:-15}"
xwd -root -silent | convert xwd:- "$root/build/orvelle-screen.png" 2>/dev/null &&
    echo "Screenshot: build/orvelle-screen.png"
kill "$pid" 2>/dev/null || true
/usr/lib/wine/wineserver -k 2>/dev/null || true
kill "$(cat "$pidfile")" 2>/dev/null || true
