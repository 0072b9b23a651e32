#!/bin/bash
# Draws the default icon, launcher.ico: a blue tile with a white start
# arrow, in 16 and 32 pixels with 256 colours (for every Windows) and in
# 16, 32 and 48 pixels with an alpha channel (Windows XP and later).
# Needs ImageMagick and icoutils; run it only to change the picture.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert=/usr/bin/convert
for s in 16 32 48; do
    r=$((s / 8))
    "$convert" -size ${s}x${s} xc:none \
        -fill '#1f5fae' -stroke '#0d3a73' -strokewidth 1 \
        -draw "roundrectangle 0.5,0.5 $((s - 1)).5,$((s - 1)).5 $r,$r" \
        -stroke none -fill white \
        -draw "polygon $((s * 3 / 8)),$((s / 4)) $((s * 3 / 4)),$((s / 2)) $((s * 3 / 8)),$((s * 3 / 4))" \
        "png32:$tmp/tile$s.png"
done
for s in 16 32; do
    "$convert" "$tmp/tile$s.png" -channel A -threshold 50% +channel -colors 200 "png8:$tmp/pal$s.png"
done
icotool -c -o "$here/launcher.ico" \
    -b 8 "$tmp/pal16.png" -b 8 "$tmp/pal32.png" \
    -b 32 "$tmp/tile16.png" -b 32 "$tmp/tile32.png" -b 32 "$tmp/tile48.png"
