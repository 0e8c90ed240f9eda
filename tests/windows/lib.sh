# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows build's window tests under Wine: tests/xvfb/lib.sh, and a copy of the
# build's Wine folder ($TAVLO_WINE_FOLDER, wine.sh) for the test alone, so that nothing it does
# there (an install, the screen's dots per inch) reaches another test; its Wine server, and every
# Windows program still running in it, end with the test.
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb/lib.sh"
# Windows' system folder, 700 MB of Wine's DLLs that nothing writes to, is linked, not copied;
# so the copy is made next to the build's.
wine_copy=$(mktemp -d "$TAVLO_WINE_FOLDER.XXXXXX")
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh" "$WINE" "$wine_copy"
trap 'status=$?; set +e; "$wineserver" -k 2>/dev/null; rm -rf "$wine_copy"; (exit $status)
    cleanup' EXIT
system=prefix/drive_c/windows/system32
tar -C "$TAVLO_WINE_FOLDER" --exclude="./$system" -c . | tar -C "$wine_copy" -x
cp -a --link "$TAVLO_WINE_FOLDER/$system" "$wine_copy/$system"
