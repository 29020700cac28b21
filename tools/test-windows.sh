#!/usr/bin/env bash
# Builds tollwick.exe and tests it under Wine: every whole-program case of
# tests/data/tollwick_cases (the native build runs the same table), then the
# settings dialog on a virtual X display, driven by the dialog probe; then
# Quillmoor started by a Windows program as Jw_cad starts it.
# Output: build/windows/test-output/ (run logs, the dialog's screenshot).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${WINDOWS_BUILD_DIR:-build/windows}
start=$SECONDS

bash tools/build-windows.sh "$build"
# shellcheck source=../tests/framecmd/windows/wine_env.sh
source tests/framecmd/windows/wine_env.sh
prepare_wine_prefix
prepare_comma_locale
out="$PWD/$build/test-output"
rm -rf "$out" && mkdir -p "$out"
xvfb_pid=
cleanup() {
  stop_wine
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
echo "built, Wine ready after $((SECONDS - start)) s"

# Mode runs: no display at all, so a window would make the run fail. The
# program folders have a Japanese name, which only code page 932 carries
# intact under the code page 1252 of the comma-decimal locale, and an "é",
# which code page 932 lacks.
t=$SECONDS
env -u DISPLAY bash tests/framecmd/windows/run_cases.sh "${TOLLWICK_CASES:-tests/data/tollwick_cases}" \
  "$build/tollwick.exe" "$out/図面の枠 é" "${comma_wine[@]}"
echo "whole-program cases under Wine: $((SECONDS - t)) s"
# The Wine session of those runs has no display; the dialog needs a new one.
stop_wine

# The dialog: a display of our own, on the first free number from 91.
t=$SECONDS
display=91
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start:"; cat "$out/xvfb.log"; exit 1; }
  sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb :$display not ready after 10 s"; exit 1; }
export DISPLAY=":$display"
winpath() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }
timeout -k 10 300 "${comma_wine[@]}" "$build/tollwick_dialog_probe.exe" "$(winpath "$build/tollwick.exe")" \
  "$(winpath "$out/dialog")" "$(winpath "$out/dialog.bmp")"
echo "dialog under Wine: $((SECONDS - t)) s"

# Jw_cad's start of Quillmoor: a Windows stand-in for Jw_cad starts the
# native quillmoor by its Z: drive path under Wine, on a display of the
# test's own. Needs the native build (tools/test.sh made it already).
t=$SECONDS
stop_wine
native=build/default
[ -f "$native/build.ninja" ] || cmake --preset default >/dev/null
cmake --build "$native" -j "${JOBS:-4}" --target splitprint_wine_tests >/dev/null
JWCAD_START_PROBE="$PWD/$build/jwcad_start_probe.exe" timeout -k 10 300 "$native/tests/splitprint_wine_tests"
echo "Jw_cad's start of quillmoor under Wine: $((SECONDS - t)) s"
echo "Windows tests passed in $((SECONDS - start)) s"
