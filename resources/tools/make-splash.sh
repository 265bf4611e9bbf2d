#!/usr/bin/env bash
# Draws resources/Splash.spl: a 480x300 24-bit Windows BMP (the format the
# splash window reads; see docs/skin.md). Needs ImageMagick and the DejaVu
# fonts; the result is committed, so builds do not run this.
set -euo pipefail
out="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/Splash.spl}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
w=480 h=300

# Background: a soft vertical gradient with a glossy upper half.
convert -size ${w}x${h} gradient:'#FDFEFF-#D3E2F2' "$tmp/bg.png"
convert -size ${w}x$((h * 45 / 100)) gradient:'#FFFFFF-#EAF1F9' "$tmp/gloss.png"
convert "$tmp/bg.png" "$tmp/gloss.png" -geometry +0+0 -composite "$tmp/bg.png"

# The orb: an aqua sphere with a highlight.
convert -size 132x132 xc:none \
    \( -size 132x132 radial-gradient:'#A8D8FF-#2B74C4' \) -compose over -composite \
    \( -size 132x132 xc:black -fill white -draw 'circle 66,66 66,4' \) \
    -alpha off -compose copy_opacity -composite "$tmp/orb.png"
convert -size 132x132 xc:none -fill 'rgba(255,255,255,0.55)' -draw 'ellipse 66,40 40,24 0,360' \
    -blur 0x3 "$tmp/hl.png"
convert "$tmp/orb.png" "$tmp/hl.png" -compose over -composite "$tmp/orb.png"
convert -size 150x150 xc:none -fill 'rgba(30,58,95,0.25)' -draw 'circle 75,79 75,13' -blur 0x5 \
    "$tmp/shadow.png"

convert "$tmp/bg.png" \
    "$tmp/shadow.png" -geometry +28+76 -composite \
    "$tmp/orb.png" -geometry +37+80 -composite \
    -font DejaVu-Sans-Bold -pointsize 50 -fill '#FFFFFF' -annotate +191+153 'Orvelle' \
    -fill '#1E3A5F' -annotate +190+151 'Orvelle' \
    -font DejaVu-Sans -pointsize 17 -fill '#4A6785' -annotate +193+183 'Windows tune-up utility' \
    -fill '#B8CCE2' -draw "rectangle 193,200 440,201" \
    -font DejaVu-Sans -pointsize 12 -fill '#6B84A0' -annotate +193+222 'Display, drives, input, privacy, health' \
    -font DejaVu-Sans -pointsize 11 -fill '#7C93AD' -annotate +20+$((h - 16)) 'Starting...' \
    -fill none -stroke '#7F9DC2' -draw "rectangle 0,0 $((w - 1)),$((h - 1))" \
    -alpha off -type TrueColor BMP3:"$out"
echo "$out"
