#!/usr/bin/env bash
# Builds everything and runs every test: native (simulated platform), the
# same under AddressSanitizer + UndefinedBehaviorSanitizer, and the Windows
# build under Wine (unit and contract tests, and the end-to-end suites that
# drive the real programs under Xvfb). Sets up a fresh Debian machine first.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/deps.sh test || { echo "dependency installation failed"; exit 1; }
jobs="${ORVELLE_JOBS:-2}"
log="$root/build/test-logs"
mkdir -p "$log"
status=0
passed=0
failed=0

run_ctest() {  # preset
    local preset="$1"
    ctest --preset "$preset" -j"$jobs" --timeout 300 2>&1 | tee "$log/$preset.log"
    local rc=${PIPESTATUS[0]}
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log/$preset.log" | tail -n 1)
    if [ -n "$line" ]; then
        local f total
        f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
        passed=$((passed + total - f))
        failed=$((failed + f))
    fi
    if [ "$rc" != 0 ]; then status=1; [ -n "$line" ] || failed=$((failed + 1)); fi
}

build() {  # preset
    echo "== build: $1"
    if ! { cmake --preset "$1" >"$log/$1-configure.log" 2>&1 &&
           cmake --build --preset "$1" -j"$jobs" >"$log/$1-build.log" 2>&1; }; then
        echo "build of $1 failed:"
        tail -n 40 "$log/$1-configure.log" "$log/$1-build.log" 2>/dev/null
        status=1
        failed=$((failed + 1))
        return 1
    fi
}

for preset in native asan; do
    if build "$preset"; then
        echo "== tests: $preset"
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$preset"
    fi
done

if build mingw; then
    echo "== tests: mingw (under Wine)"
    pidfile="$log/xvfb.pid"
    if display=$(scripts/xvfb-start "$pidfile"); then
        export DISPLAY="$display"
    else
        echo "Xvfb did not start: the GUI end-to-end tests will fail"
    fi
    export ORVELLE_WINE_ROOT="$root/build/wine"
    scripts/wine-prefix "$ORVELLE_WINE_ROOT/prefix" >/dev/null
    WINEPREFIX="$ORVELLE_WINE_ROOT/prefix" /usr/lib/wine/wineserver -p 2>/dev/null || true
    # The first program in a prefix pays for Wine's own start-up; pay it here,
    # not inside a test's time limit.
    scripts/wine-run cmd /c exit >/dev/null 2>&1 || true
    run_ctest mingw
    WINEPREFIX="$ORVELLE_WINE_ROOT/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    if [ -f "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null || true; rm -f "$pidfile"; fi
fi

echo
echo "all suites: $passed passed, $failed failed"
exit $status
