# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a copy of a Liberation Sans face under Arial's name, whose metrics it shares.

Wine has no Arial, and its font replacements reach only GDI, not DirectWrite, through which Qt
finds fonts: so the program draws its text in the font a Windows desktop has.
Usage: liberation_as_arial.py <LiberationSans-Style.ttf> <output.ttf>
"""
import sys

from fontTools.ttLib import TTFont

FAMILY, SUBFAMILY, FULL_NAME, POSTSCRIPT_NAME, TYPOGRAPHIC_FAMILY = 1, 2, 4, 6, 16

font = TTFont(sys.argv[1])
names = font["name"]
style = names.getDebugName(SUBFAMILY)
full = "Arial" if style == "Regular" else f"Arial {style}"
for record in names.names:
    renamed = {FAMILY: "Arial", TYPOGRAPHIC_FAMILY: "Arial", FULL_NAME: full,
               POSTSCRIPT_NAME: full.replace(" ", "-")}.get(record.nameID)
    if renamed:
        record.string = renamed
font.save(sys.argv[2])
