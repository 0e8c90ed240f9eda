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

# Triple-size pictures are palette PNG: at that size deflate keeps them far smaller than GIF's
# LZW, and they are decoded only on screens scaled above 2.  No colour-space chunks, like GIF.
png8=(-define png:exclude-chunk=bKGD,cHRM,gAMA,date,time -define png:compression-level=9)
# The output's format from its name: palette PNG or GIF.
indexed() { # out.gif|out.png
    case "$1" in *.png) echo "PNG8:$1" ;; *) echo "GIF:$1" ;; esac
}

# A picture on a transparent background (die faces, pawns), GIF or PNG.  Both
# have on/off alpha, so the anti-aliased rim is cut at half coverage; the rims
# are dark outlines, so the cut edge stays clean on any background.
transparent() { # name.svg width height out.gif|out.png
    local png="$work/$(basename "$4")-raw.png"
    render "$1" "$2" "$3" "$png"
    "$IM" "$png" "${clean[@]}" "${png8[@]}" -channel A -threshold 50% +channel \
        -dither None -colors 255 "$(indexed "$4")"
}

# A picture on solid white with no transparency at all (snakes) in 256
# colours: dithered GIF at scale 1; undithered PNG at scale 3, where the
# colour steps are too fine to see and dithering would only add bytes.
opaque() { # name.svg width height out.gif|out.png
    local png="$work/$(basename "$4")-raw.png" dither=FloydSteinberg
    case "$4" in *.png) dither=None ;; esac
    render "$1" "$2" "$3" "$png"
    "$IM" "$png" "${clean[@]}" "${png8[@]}" -background white -alpha remove -alpha off \
        -dither "$dither" -colors 256 "$(indexed "$4")"
}

# A 24-bit Windows BMP (BMP3, no alpha channel) on solid white.
opaque_bmp() { # name.svg width height out.bmp
    local png="$work/$(basename "$4" .bmp)-raw.png"
    render "$1" "$2" "$3" "$png"
    "$IM" "$png" "${clean[@]}" -background white -alpha remove -alpha off \
        -type TrueColor "BMP3:$4"
}

# Each picture at scale 1, 2 and 3: file-name suffix and format of each scale.
suffix=("" "@2x" "@3x")
ext=(gif gif png)

echo "dice"
for face in die1 die2 die3 die4 die5 die6 dierest; do
    for s in 1 2 3; do
        transparent "$src/$face.svg" $((80 * s)) $((80 * s)) "$dest/$face${suffix[s - 1]}.${ext[s - 1]}"
    done
done

echo "pawns"
for colour in red blue cream green; do
    for s in 1 2 3; do
        transparent "$src/pawn_$colour.svg" $((50 * s)) $((50 * s)) \
            "$dest/pawn_$colour${suffix[s - 1]}.${ext[s - 1]}"
    done
done

# snake, width and height at scale 1
snakes=("1 323 470" "2 131 435" "3 277 195" "4 125 342" "5 125 342")
echo "snakes"
for entry in "${snakes[@]}"; do
    read -r n w h <<<"$entry"
    if [ "$n" = 1 ]; then
        opaque_bmp "$src/snake1.svg" "$w" "$h" "$dest/snake1.bmp"
    else
        opaque "$src/snake$n.svg" "$w" "$h" "$dest/snake$n.gif"
    fi
    # double size for high-density screens: uncompressed, since the program's resources are
    # compressed anyway (smaller than PNG), and a bitmap decodes several times faster than a PNG
    opaque_bmp "$src/snake$n.svg" $((2 * w)) $((2 * h)) "$dest/snake$n@2x.bmp"
    # triple size, decoded only above scale 2: PNG, a fraction of the bitmap's size in the repository
    opaque "$src/snake$n.svg" $((3 * w)) $((3 * h)) "$dest/snake$n@3x.png"
done

echo "icon"
# 32 x 32 for the window; 192 and 512 for the web page's manifest, which home screens and
# shelves take their icons from.
for size in 32 192 512; do
    render "$src/icon.svg" $size $size "$work/icon$size-raw.png"
    "$IM" "$work/icon$size-raw.png" "${clean[@]}" "PNG32:$dest/icon$size.png"
done
# icon.ico: the same 32 x 32 picture twice - 256-colour palette (1-bit mask
# for transparency) and 32-bit with a full alpha channel.  ImageMagick
# writes a palette image with 256 or fewer colours as an 8-bit entry and a
# direct-colour image with alpha as a 32-bit entry.
"$IM" "${clean[@]}" \
    \( "$work/icon32-raw.png" -channel A -threshold 50% +channel -dither None -colors 255 \) \
    \( "$work/icon32-raw.png" -type TrueColorAlpha \) \
    "ICO:$dest/icon.ico"

# ---------------------------------------------------------------- verify
# What the program sees of each picture (its size at each scale, its transparency, what it
# shows, the icon's two 32 x 32 pictures) is checked by the tests, in
# tests/ui/image_sets_test.cpp. Checked here is what it cannot see: how each file is stored.
fail=0
expect() { # file "identify -format result" wanted
    if [ "$2" != "$3" ]; then
        echo "WRONG: $(basename "$1"): got '$2', want '$3'" >&2
        fail=1
    fi
}
fmt() { "$IDENTIFY" -format "$2" "$1" 2>/dev/null; }

for f in "$dest"/*@3x.png; do # palette PNG
    expect "$f" "$(fmt "$f" '%m %[png:IHDR.color-type-orig]')" "PNG 3"
done
for f in "$dest"/*.gif; do
    expect "$f" "$(fmt "$f" '%m')" "GIF"
done
# a 24-bit BMP has no alpha: header bits-per-pixel field at byte 28
for f in "$dest"/*.bmp; do
    expect "$f" "$(fmt "$f" '%m %[bit-depth] %r')" "BMP3 8 DirectClass sRGB "
    expect "$f" "bpp=$(od -An -tu2 -j28 -N2 "$f" | tr -d ' ')" "bpp=24"
done
for size in 32 192 512; do
    expect "$dest/icon$size.png" "$(fmt "$dest/icon$size.png" '%m %wx%h %A')" "PNG ${size}x$size True"
done
# icon.ico's two entries: one of 8 and one of 32 bits
ico_entries=""
for i in 0 1; do
    off=$(od -An -tu4 -j$((6 + 16 * i + 12)) -N4 "$dest/icon.ico" | tr -d ' ')
    # bit count from the entry's BITMAPINFOHEADER
    ico_entries="$ico_entries $(od -An -tu2 -j$((off + 14)) -N2 "$dest/icon.ico" | tr -d ' ')"
done
expect "$dest/icon.ico" "$(echo "$ico_entries" | tr ' ' '\n' | sort -n | tr '\n' ' ')" " 8 32 "

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
