#!/usr/bin/env bash
# Start-up of orvelle.exe under Wine, from process creation to its main window
# painted, measured in the same run as a bare Win32 window (bare_window.exe)
# and Wine's own taskmgr.exe: alternating, ROUNDS rounds, medians.
#   bench/startup.sh [ROUNDS]        (default 9; needs an X display or Xvfb)
# Builds the mingw preset's orvelle, bare_window and startup_bench first, and
# runs in a Wine prefix of its own (build/wine/bench).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-9}"
build="$root/build/mingw"
cd "$root"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target orvelle bare_window startup_bench >/dev/null

export ORVELLE_WINE_ROOT="$root/build/wine/bench"
export WINEPREFIX="$ORVELLE_WINE_ROOT/prefix"
xvfb_pid=""
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    pidfile="$(mktemp)"
    DISPLAY="$(scripts/xvfb-start "$pidfile")"
    export DISPLAY
    xvfb_pid="$(cat "$pidfile")"
    rm -f "$pidfile"
fi
# Wine's own start-up (wineserver, the prefix) is paid once, outside the figures.
scripts/wine-run cmd /c exit >/dev/null 2>&1 || true

win() { local p="${1//\//\\}"; echo "Z:$p"; }
scripts/wine-run "$build/bench/startup_bench.exe" --rounds "$rounds" \
    "bare=$(win "$build/bench/bare_window.exe")" \
    "orvelle=$(win "$build/app/win32/orvelle.exe")" \
    "taskmgr=C:\\windows\\system32\\taskmgr.exe"
