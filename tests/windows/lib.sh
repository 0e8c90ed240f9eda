# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the Windows build's tests under Wine that open windows, on a private Xvfb screen
# (tests/xvfb/lib.sh; each test starts its own, of the size it needs). Each test has a copy of
# the build's Wine folder, made by the test wine_prefix (wine.sh), so that nothing it does there
# (an install, the screen's dots per inch) reaches another test; its Wine server, and every
# Windows program still running in it, end with the test. Sourced; Wine and the build's Wine
# folder are in WINE and TAVLO_WINE_FOLDER (tests/windows/CMakeLists.txt).
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb/lib.sh"
cp -a "$TAVLO_WINE_FOLDER" "$work/wine" || fail "no Wine folder; the test wine_prefix makes it"
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh" "$WINE" "$work/wine"
trap 'status=$?; set +e; "$wineserver" -k 2>/dev/null; (exit $status); cleanup' EXIT

