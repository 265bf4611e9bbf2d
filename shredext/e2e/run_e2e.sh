#!/usr/bin/env bash
# run_e2e.sh REPO WINE_ROOT DLL CLIENT: registers ardshred.dll with regsvr32 in a fresh,
# private Wine prefix, lets the client shred fixtures through the COM object, unregisters,
# and checks that the registry is exactly as it was before.
# Safety: Wine links Desktop/Documents into $HOME and uses the host Trash as its Recycle
# Bin, so HOME and XDG_DATA_HOME point into WINE_ROOT, and the prefix lives there too.
set -euo pipefail
repo=$1 wine_root=$2 dll=$3 client=$4

export ORVELLE_WINE_ROOT="$wine_root"
export ORVELLE_WINE_HOME="$wine_root/shred-e2e-home"
export HOME="$ORVELLE_WINE_HOME" XDG_DATA_HOME="$ORVELLE_WINE_HOME/.local/share"
export WINEPREFIX="$wine_root/shred-e2e"
export WINEDEBUG=-all
wineserver=/usr/lib/wine/wineserver

# Stops the wineserver of this prefix only (it is ours), so the prefix can be dropped.
stop_server() { "$wineserver" -k >/dev/null 2>&1 || true; }
stop_server
rm -rf "$WINEPREFIX" "$ORVELLE_WINE_HOME"
mkdir -p "$HOME" "$XDG_DATA_HOME"
"$repo/scripts/wine-prefix" "$WINEPREFIX" >/dev/null
trap stop_server EXIT
run() { "$repo/scripts/wine-run" "$@"; }

c="$WINEPREFIX/drive_c"
mkdir -p "$c/ardshred"
cp "$dll" "$client" "$c/ardshred/"
client_exe='C:\ardshred\'"$(basename "$client")"
dll_win='C:\ardshred\ardshred.dll'

# Fixtures; the client knows the same names.
t="$c/shredtest"
mkdir -p "$t/tree/sub/subsub" "$t/tree2/empty" "$t/outside"
head -c 1000 /dev/urandom >"$t/a.txt"
head -c 5 /dev/urandom >"$t/b-Ж名😀.bin"
head -c 300000 /dev/urandom >"$t/tree/sub/subsub/deep.bin"
head -c 10 /dev/urandom >"$t/tree/sub/f.txt"
head -c 10 /dev/urandom >"$t/tree/top.txt"
head -c 10 /dev/urandom >"$t/c.txt"
head -c 10 /dev/urandom >"$t/tree2/x.txt"
head -c 10 /dev/urandom >"$t/locked.txt"
head -c 10 /dev/urandom >"$t/d.txt"
seg=$(printf 'x%.0s' $(seq 60))
long="$t/long/$seg/$seg/$seg/$seg/$seg"
mkdir -p "$long"
head -c 700 /dev/urandom >"$long/deep.txt"
# A folder link inside a tree pointing outside the selection: Win32 sees it as a reparse
# point; the outside folder must survive whole.
mkdir -p "$t/linktree/sub"
head -c 10 /dev/urandom >"$t/linktree/sub/own.txt"
head -c 4096 /dev/urandom >"$t/outside/keep.txt"
ln -s ../../outside "$t/linktree/sub/to-outside"
keep_sum=$(sha256sum <"$t/outside/keep.txt")

export_registry() {
    run regedit /E "C:\\$1-hklm.reg" 'HKEY_LOCAL_MACHINE\Software'
    run regedit /E "C:\\$1-hkcu.reg" 'HKEY_CURRENT_USER\Software'
}

failures=0
step() {
    local name=$1
    shift
    if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

export_registry before
step "regsvr32" run regsvr32 /s "$dll_win"
step "registry entries" run "$client_exe" registered "$dll_win"
step "shred through COM" run "$client_exe" shred 'C:\shredtest'
step "outside folder kept whole" test "$(sha256sum <"$t/outside/keep.txt")" = "$keep_sum"
link_kept_or_gone() {
    [ ! -e "$t/linktree" ] || [ "$(readlink "$t/linktree/sub/to-outside")" = ../../outside ]
}
step "link removed or left pointing where it did" link_kept_or_gone
step "selected items gone" test ! -e "$t/tree" -a ! -e "$t/tree2" -a ! -e "$long/deep.txt"
step "regsvr32 /u" run regsvr32 /u /s "$dll_win"
step "registry entries removed" run "$client_exe" unregistered
export_registry after
for hive in hklm hkcu; do
    if cmp -s "$c/before-$hive.reg" "$c/after-$hive.reg"; then
        echo "ok: $hive unchanged by register + unregister"
    else
        echo "FAILED: $hive differs after unregistering:"
        diff <(iconv -f UTF-16LE -t UTF-8 "$c/before-$hive.reg") \
             <(iconv -f UTF-16LE -t UTF-8 "$c/after-$hive.reg") | head -40 || true
        failures=$((failures + 1))
    fi
done
echo "shredext e2e: $failures failed"
exit $((failures > 0))
