#!/usr/bin/env bash
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/packages.sh
source scripts/lib/debian.sh
source scripts/lib/web.sh
ensure_packages "${WEB_PACKAGES[@]}" googletest >/dev/null 2>&1
web_build "$(web_qt)" build/web scripted_window
