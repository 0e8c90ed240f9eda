#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built program on a private Xvfb screen: its window checked from screenshots at Qt scale
# factors 1 and 2, under three desktop styles, and at 1.5 under a window manager with a top bar;
# each time ended by Exit or the close command.
# Usage: real_window_test.sh <tavlo> <close_window> <scripted_window>
set -euo pipefail
tavlo=$1
close_window=$2
scripted_window=$3
source "$(dirname "$0")/lib.sh"
# Room for the window at scale 2.
start_xvfb 2560x1600

start_app "$tavlo"
expect_size 985x702
# Inside square 10, clear of numbers, snakes and ladders: the white board.
settled_shot "$work/start.png" 689 671 "srgb(255,255,255)"

# The right-hand column ends inside the window: the last columns of pixels are plain navy.
edge=$(convert "$work/start.png" -crop 20x702+965+0 -unique-colors -format "%w %[pixel:p]" info:)
[ "$edge" = "1 srgb(0,0,25)" ] || fail "the window's right edge is not plain background: $edge"

# The whose-turn label shows player 1's colour.
turn_pixels=$(convert "$work/start.png" -crop 201x25+760+64 +repage -fill black +opaque "srgb(235,79,33)" \
    -fill white -opaque "srgb(235,79,33)" -format "%[fx:mean*w*h]" info:)
awk -v n="$turn_pixels" 'BEGIN { exit !(n > 20) }' || fail "no text in player 1's colour"

# The Exit button, with player 1's name selected: on X11 the toolkit hands a selection over to
# the desktop's clipboard manager as it shuts down, so this end goes through that whole shutdown.
xdotool mousemove --window "$window" $NAME1 click --repeat 2 1
xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end "Exit with a name selected"

# At scale 2, as most laptops run their desktop: twice the size, with the board's grid and the die
# at rest, and a board painted from the sharp pictures in the colours it has at scale 1 (without
# its snakes it would be far whiter).
QT_SCALE_FACTOR=2 start_app "$tavlo"
expect_size 1970x1404 "at scale 2"
# A grid line.
settled_shot "$work/scaled.png" 246 1360 "srgb(0,0,0)"
[ "$(pixel "$work/scaled.png" 1712 288)" = "srgb(236,236,236)" ] || fail "no die at scale 2"
colours() { convert "$1" -crop "$2" +repage -format "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]" info:; }
board1=$(colours "$work/start.png" 667x667+56+24)
board2=$(colours "$work/scaled.png" 1334x1334+112+48)
awk -v a="$board1" -v b="$board2" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    for (i = 1; i <= 3; ++i) if ((x[i] - y[i])^2 > 0.01^2) exit 1 }' ||
    fail "the board's colours at scale 2 ($board2) are not those at scale 1 ($board1)"
"${emulator[@]}" "$close_window" "$window"
expect_clean_end "the close command at scale 2"

# A desktop's style changes no pixel of the window, neither after start-up nor with the setup
# locked by the first move: GTK's dark style, as a GNOME desktop hands it to Qt programs, and
# qt6ct's darker scheme with a serif font of its own, as Xfce's and LXQt's users set Qt's look.
mkdir -p "$work/config/qt6ct"
cat >"$work/config/qt6ct/qt6ct.conf" <<EOF
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
[Fonts]
general="Liberation Serif,13,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
fixed="Liberation Mono,13,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
EOF
styled() { start_app "$scripted_window" --report --pause-percent 0 --rolls 4; }
for style in default dark qt6ct; do
    case $style in
    default) styled ;;
    dark) QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark \
        ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0 styled ;;
    qt6ct) QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$work/config" styled ;;
    esac
    xdotool windowfocus --sync "$window"
    settled_shot "$work/$style-start.png"
    xdotool key space
    wait_for_output '^moved' 1 10
    settled_shot "$work/$style-locked.png"
    xdotool mousemove --window "$window" $EXIT click 1
    expect_clean_end "Exit under the $style style"
done
for style in dark qt6ct; do
    for phase in start locked; do
        changed=$(differing_pixels "$work/default-$phase.png" "$work/$style-$phase.png")
        [ "$changed" = 0 ] || fail "the $style style changed $changed pixels ($phase)"
    done
done

# A 1920x1080 laptop screen at scale 1.5 under a window manager that keeps a 48-pixel bar at the
# top: the window, framed, lies wholly on the screen below the bar, shorter than its page, and
# the wheel scrolls the page to its end, where a click reaches Exit.
start_xvfb 1920x1080
sed 's|<top>0</top>|<top>48</top>|' /etc/xdg/openbox/rc.xml >"$work/openbox.xml"
openbox --config-file "$work/openbox.xml" >"$work/openbox.log" 2>&1 &
servers+=($!)
wait_until 10 eval "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" || fail "openbox did not start: $(cat "$work/openbox.log")"
QT_SCALE_FACTOR=1.5 start_app "$tavlo"
eval "$(xwininfo -id "$window" | awk -F: '/Absolute upper-left X/ { print "X=" $2 + 0 }
    /Absolute upper-left Y/ { print "Y=" $2 + 0 } /Width/ { print "WIDTH=" $2 + 0 }
    /Height/ { print "HEIGHT=" $2 + 0 }')"
read -r left right top bottom <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | tr -dc '0-9 ,' | tr ',' ' ')"
((X - left >= 0 && Y - top >= 48 && X + WIDTH + right <= 1920 && Y + HEIGHT + bottom <= 1080)) ||
    fail "at scale 1.5 the framed window ${WIDTH}x${HEIGHT}+$X+$Y (frame $left $right $top $bottom) is not wholly below the bar"
((HEIGHT < 1053)) || fail "at scale 1.5 the window is ${HEIGHT} high: it should be cut to the room"
xdotool mousemove --window "$window" 600 600 click --repeat 10 5
# Scrolled to the end, the page's bottom is the window's: Exit's middle is 26 pixels above it.
xdotool mousemove --window "$window" 1290 $((HEIGHT - 39)) click 1
expect_clean_end "Exit, scrolled into sight by the wheel, at scale 1.5 with a top bar"
