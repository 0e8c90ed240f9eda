#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tavlo.exe needs no DLL beyond Windows' own: Wine keeps each of those in Windows' system folder
# of the build's Wine prefix (wine.sh), and resolves Windows' API sets (api-ms-win-*) itself, as
# Windows does.
# Usage: imports_test.sh <tavlo.exe> <objdump for Windows programs> <Wine folder>
set -euo pipefail
system=$3/prefix/drive_c/windows/system32
imports=$("$2" -p "$1" | sed -n 's/^\tDLL Name: //p' | tr '\n' ' ')
[ -n "$imports" ] || { echo "FAIL: $1 imports no DLL at all" >&2; exit 1; }
for dll in $imports; do
    [[ ${dll,,} == api-ms-win-* ]] || [ -f "$system/${dll,,}" ] ||
        { echo "FAIL: tavlo.exe needs $dll" >&2; exit 1; }
done
echo "tavlo.exe imports: $imports"
