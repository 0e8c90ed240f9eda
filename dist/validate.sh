#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates the desktop entry or the AppStream metainfo. Warnings count as failures: software
# centres and desktops quietly drop or misfile entries that only draw warnings.
# Usage: validate.sh desktop <desktop-file-validate> <file>
#        validate.sh metainfo <appstreamcli> <file>
set -euo pipefail
kind=$1
tool=$2
file=$3
case $kind in
desktop)
    # desktop-file-validate exits 0 on warnings and hints, so any output is a failure too.
    out=$("$tool" "$file" 2>&1) || { echo "$out" >&2; exit 1; }
    [ -z "$out" ] || { echo "FAIL: $file: $out" >&2; exit 1; }
    ;;
metainfo)
    # --strict fails on warnings and infos too; pedantic hints (such as the capital letter in
    # the reverse-DNS id, which the desktop id requires) stay allowed.
    "$tool" validate --no-net --strict "$file"
    ;;
*)
    echo "unknown kind: $kind" >&2
    exit 2
    ;;
esac
echo "$file: valid"
