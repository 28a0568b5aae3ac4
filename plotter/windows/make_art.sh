#!/bin/sh
# Renders the Windows program's images from the project's own SVG art:
#   make_art.sh ART_DIR OUT_DIR
#   OUT_DIR/ondrix.ico   the program icon: 16, 24, 32 and 48 pixels square, each at 32 bits per
#                        pixel (with alpha) and at 8 bits per pixel (a palette with a mask)
#   OUT_DIR/toolbar.bmp  the toolbar's image strip: nine 16 x 16 images side by side, 24 bits
#                        per pixel; pixels less than half covered by the art hold the mask
#                        colour light grey (192, 192, 192), the others the art over the face
#                        colour of buttons, so that the edges stay clean
# The strip's order is the order of the toolbar's image numbers.
set -eu
art=$1
out=$2
tmp=$out/art.tmp
mkdir -p "$out" "$tmp"

for size in 16 24 32 48; do
    rsvg-convert --width=$size --height=$size --keep-aspect-ratio --format=png \
        --output="$tmp/icon$size.png" "$art/ondrix.svg"
done
convert "$tmp/icon16.png" "$tmp/icon24.png" "$tmp/icon32.png" "$tmp/icon48.png" \
    \( "$tmp/icon16.png" -type PaletteMatte \) \( "$tmp/icon24.png" -type PaletteMatte \) \
    \( "$tmp/icon32.png" -type PaletteMatte \) \( "$tmp/icon48.png" -type PaletteMatte \) \
    "$out/ondrix.ico"

images=""
for name in new open zoom_in zoom_out cls draw reset unused save; do
    rsvg-convert --width=16 --height=16 --format=png --output="$tmp/$name.png" "$art/$name.svg"
    convert -size 16x16 'xc:#c0c0c0' \( "$tmp/$name.png" -background '#f0f0f0' -flatten \) \
        \( "$tmp/$name.png" -alpha extract -threshold 50% \) -composite "$tmp/$name.flat.png"
    images="$images $tmp/$name.flat.png"
done
# shellcheck disable=SC2086  # one file name a word
convert $images +append -type TrueColor "BMP3:$out/toolbar.bmp"
rm -rf "$tmp"
