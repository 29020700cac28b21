#!/usr/bin/env bash
# Cross-builds the Windows programs of the paper-frame command (tollwick.exe
# and its dialog test probe), and the stand-in for Jw_cad of Quillmoor's
# hand-over test, into build/windows with mingw-w64, then checks
# that tollwick.exe needs no DLL that Windows does not ship.
# Usage: tools/build-windows.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
jobs=${JOBS:-4}

cmake -S framecmd/windows -B "$build" -G Ninja \
  --toolchain "$PWD/tools/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$jobs"

headers=$(x86_64-w64-mingw32-objdump -p "$build/tollwick.exe")
# A DLL outside Windows' own (libstdc++, libgcc, winpthread ...) would have to
# be copied beside the program; the static link must have left none.
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
for dll in $imports; do
  case "${dll,,}" in
    kernel32.dll|user32.dll|gdi32.dll|shell32.dll|comctl32.dll|imm32.dll|msvcrt.dll|advapi32.dll|api-ms-win-*) ;;
    *) echo "tollwick.exe depends on $dll; it must link statically" >&2; exit 1 ;;
  esac
done
# Jw_cad starts it: a console program would flash a console window.
grep -q 'Subsystem.*Windows GUI' <<<"$headers" || { echo "tollwick.exe is not a Windows GUI program" >&2; exit 1; }
echo "built $build/tollwick.exe ($(stat -c %s "$build/tollwick.exe") bytes; imports: $(echo $imports))"
