# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the Windows build's tests under Wine that open windows, on a private Xvfb screen
# (tests/xvfb/lib.sh; each test starts its own, of the size it needs). Each test has a copy of
# the build's Wine folder, made by the test wine_prefix (wine.sh), so that nothing it does there
# (an install, the screen's dots per inch) reaches another test; its Wine server, and every
# Windows program still running in it, end with the test. Sourced; Wine and the build's Wine
# folder are in WINE and TAVLO_WINE_FOLDER (tests/windows/CMakeLists.txt).
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb/lib.sh"
[ -f "$TAVLO_WINE_FOLDER/maker" ] || fail "no Wine folder; the test wine_prefix makes it"
# Windows' system folder, 700 MB of Wine's DLLs that nothing writes to, is linked, not copied;
# so the copy is made next to the build's.
wine_copy=$(mktemp -d "$TAVLO_WINE_FOLDER.XXXXXX")
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh" "$WINE" "$wine_copy"
trap 'status=$?; set +e; "$wineserver" -k 2>/dev/null; rm -rf "$wine_copy"; (exit $status)
    cleanup' EXIT
system=prefix/drive_c/windows/system32
tar -C "$TAVLO_WINE_FOLDER" --exclude="./$system" -c . | tar -C "$wine_copy" -x
cp -a --link "$TAVLO_WINE_FOLDER/$system" "$wine_copy/$system"
