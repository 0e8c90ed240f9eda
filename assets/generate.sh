#!/usr/bin/env bash
# Renders every picture in assets/images/ from the SVG sources in assets/src/.
#
# The produced pictures are kept in the repository, so building Tavlo needs
# none of these tools; run this only after changing a source.  Needs
# rsvg-convert (librsvg2-bin) and ImageMagick's convert/identify (imagemagick).
# The snake sources are themselves written by src/tools/snakes.py.
#
# Output is deterministic: no timestamps or other metadata are written, so
# re-running on the same tool versions reproduces the files byte for byte.
#
#   assets/generate.sh            render everything, then verify the results
#   assets/generate.sh --check    render into a scratch folder and report any
#                                 picture that differs from the one in images/
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
src="$here/src"
out="$here/images"

mode=write
case "${1:-}" in
    "") ;;
    --check) mode=check ;;
    *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

need() { command -v "$1" >/dev/null 2>&1 || { echo "$0: $1 not found (apt-get install $2)" >&2; exit 1; }; }
need rsvg-convert librsvg2-bin
# Debian installs ImageMagick 6 as convert-im6.q16; "convert" is an alternative
# pointing at it.  Prefer the real binary when it is there.
if command -v convert-im6.q16 >/dev/null 2>&1; then
    IM=convert-im6.q16
    IDENTIFY=identify-im6.q16
else
    need convert imagemagick
    IM=convert
    IDENTIFY=identify
fi

export LC_ALL=C

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if [ "$mode" = check ]; then dest="$work/out"; mkdir -p "$dest"; else dest="$out"; mkdir -p "$dest"; fi

# Options that keep dates, comments and profiles out of every file.
clean=(-strip +set date:create +set date:modify +set date:timestamp -define png:exclude-chunk=date,time)

# svg -> png at an exact pixel size
render() { # src.svg width height out.png
    rsvg-convert --width "$2" --height "$3" --format png --output "$4" "$1"
}

# A picture on a transparent background (die faces, pawns).  GIF alpha is
# on/off, so the anti-aliased rim is cut at half coverage; the rims are dark
# outlines, so the cut edge stays clean on any background.
transparent_gif() { # name.svg width height out.gif
    local png="$work/$(basename "$4" .gif).png"
    render "$1" "$2" "$3" "$png"
    "$IM" "$png" "${clean[@]}" -channel A -threshold 50% +channel \
        -dither None -colors 255 "GIF:$4"
}

# A picture on solid white with no transparency at all (snakes).
opaque_gif() { # name.svg width height out.gif
    local png="$work/$(basename "$4" .gif).png"
    render "$1" "$2" "$3" "$png"
    "$IM" "$png" "${clean[@]}" -background white -alpha remove -alpha off \
        -dither FloydSteinberg -colors 256 "GIF:$4"
}

# A 24-bit Windows BMP (BMP3, no alpha channel) on solid white.
opaque_bmp() { # name.svg width height out.bmp
    local png="$work/$(basename "$4" .bmp)-raw.png"
    render "$1" "$2" "$3" "$png"
    "$IM" "$png" "${clean[@]}" -background white -alpha remove -alpha off \
        -type TrueColor "BMP3:$4"
}

echo "dice"
for face in die1 die2 die3 die4 die5 die6 dierest; do
    transparent_gif "$src/$face.svg" 80 80 "$dest/$face.gif"
    transparent_gif "$src/$face.svg" 160 160 "$dest/$face@2x.gif"
done

echo "pawns"
for colour in red blue cream green; do
    transparent_gif "$src/pawn_$colour.svg" 50 50 "$dest/pawn_$colour.gif"
    transparent_gif "$src/pawn_$colour.svg" 100 100 "$dest/pawn_$colour@2x.gif"
done

echo "snakes"
opaque_bmp "$src/snake1.svg" 323 470 "$dest/snake1.bmp"
opaque_gif "$src/snake2.svg" 131 435 "$dest/snake2.gif"
opaque_gif "$src/snake3.svg" 277 195 "$dest/snake3.gif"
opaque_gif "$src/snake4.svg" 125 342 "$dest/snake4.gif"
opaque_gif "$src/snake5.svg" 125 342 "$dest/snake5.gif"
# double-size versions for high-density screens: uncompressed, since the program's resources are
# compressed anyway (smaller than PNG), and a bitmap decodes several times faster than a PNG
opaque_bmp "$src/snake1.svg" 646 940 "$dest/snake1@2x.bmp"
opaque_bmp "$src/snake2.svg" 262 870 "$dest/snake2@2x.bmp"
opaque_bmp "$src/snake3.svg" 554 390 "$dest/snake3@2x.bmp"
opaque_bmp "$src/snake4.svg" 250 684 "$dest/snake4@2x.bmp"
opaque_bmp "$src/snake5.svg" 250 684 "$dest/snake5@2x.bmp"

echo "icon"
render "$src/icon.svg" 32 32 "$work/icon32-raw.png"
"$IM" "$work/icon32-raw.png" "${clean[@]}" "PNG32:$dest/icon32.png"
# icon.ico: the same 32 x 32 picture twice - 256-colour palette (1-bit mask
# for transparency) and 32-bit with a full alpha channel.  ImageMagick
# writes a palette image with 256 or fewer colours as an 8-bit entry and a
# direct-colour image with alpha as a 32-bit entry.
"$IM" "${clean[@]}" \
    \( "$work/icon32-raw.png" -channel A -threshold 50% +channel -dither None -colors 255 \) \
    \( "$work/icon32-raw.png" -type TrueColorAlpha \) \
    "ICO:$dest/icon.ico"

# ---------------------------------------------------------------- verify
fail=0
expect() { # file "identify -format result" wanted
    if [ "$2" != "$3" ]; then
        echo "WRONG: $(basename "$1"): got '$2', want '$3'" >&2
        fail=1
    fi
}
fmt() { "$IDENTIFY" -format "$2" "$1" 2>/dev/null; }

for f in die1 die2 die3 die4 die5 die6 dierest; do
    expect "$dest/$f.gif" "$(fmt "$dest/$f.gif" '%m %wx%h %A')" "GIF 80x80 True"
    expect "$dest/$f@2x.gif" "$(fmt "$dest/$f@2x.gif" '%m %wx%h %A')" "GIF 160x160 True"
done
for c in red blue cream green; do
    expect "$dest/pawn_$c.gif" "$(fmt "$dest/pawn_$c.gif" '%m %wx%h %A')" "GIF 50x50 True"
    expect "$dest/pawn_$c@2x.gif" "$(fmt "$dest/pawn_$c@2x.gif" '%m %wx%h %A')" "GIF 100x100 True"
done
expect "$dest/snake1.bmp" "$(fmt "$dest/snake1.bmp" '%m %wx%h %A %[bit-depth] %r')" \
    "BMP3 323x470 False 8 DirectClass sRGB "
# a 24-bit BMP has no alpha: header bits-per-pixel field at byte 28
bpp=$(od -An -tu2 -j28 -N2 "$dest/snake1.bmp" | tr -d ' ')
expect "$dest/snake1.bmp" "bpp=$bpp" "bpp=24"
expect "$dest/snake2.gif" "$(fmt "$dest/snake2.gif" '%m %wx%h %A')" "GIF 131x435 False"
expect "$dest/snake3.gif" "$(fmt "$dest/snake3.gif" '%m %wx%h %A')" "GIF 277x195 False"
expect "$dest/snake4.gif" "$(fmt "$dest/snake4.gif" '%m %wx%h %A')" "GIF 125x342 False"
expect "$dest/snake5.gif" "$(fmt "$dest/snake5.gif" '%m %wx%h %A')" "GIF 125x342 False"
expect "$dest/icon32.png" "$(fmt "$dest/icon32.png" '%m %wx%h %A')" "PNG 32x32 True"
# icon.ico directory: 2 entries, each 32x32, one of 8 and one of 32 bits
ico_count=$(od -An -tu2 -j4 -N2 "$dest/icon.ico" | tr -d ' ')
expect "$dest/icon.ico" "entries=$ico_count" "entries=2"
ico_entries=""
for i in 0 1; do
    base=$((6 + 16 * i))
    w=$(od -An -tu1 -j"$base" -N1 "$dest/icon.ico" | tr -d ' ')
    h=$(od -An -tu1 -j$((base + 1)) -N1 "$dest/icon.ico" | tr -d ' ')
    off=$(od -An -tu4 -j$((base + 12)) -N4 "$dest/icon.ico" | tr -d ' ')
    # bit count from the entry's BITMAPINFOHEADER
    bits=$(od -An -tu2 -j$((off + 14)) -N2 "$dest/icon.ico" | tr -d ' ')
    ico_entries="$ico_entries ${w}x${h}:${bits}"
done
expect "$dest/icon.ico" "$(echo "$ico_entries" | tr ' ' '\n' | sort | tr '\n' ' ')" " 32x32:32 32x32:8 "

if [ "$fail" -ne 0 ]; then
    echo "$0: some pictures came out wrong" >&2
    exit 1
fi

if [ "$mode" = check ]; then
    differ=0
    for f in "$dest"/*; do
        name="$(basename "$f")"
        if ! cmp -s "$f" "$out/$name"; then
            echo "differs: images/$name"
            differ=1
        fi
    done
    [ "$differ" -eq 0 ] && echo "images/ is up to date"
    exit "$differ"
fi
echo "done: $(ls "$dest" | wc -l) files in $dest"
