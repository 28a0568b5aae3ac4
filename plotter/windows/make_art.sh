#!/bin/sh
# Renders the Windows program's images from the project's own SVG art:
#   make_art.sh ART_DIR OUT_DIR NAME...
#   OUT_DIR/ondrix.ico       the program icon: 16, 24, 32 and 48 pixels square, each at 32 bits
#                            per pixel (with alpha) and at 8 bits per pixel (a palette and a mask)
#   OUT_DIR/NAME_SIZE.bmp    each named toolbar image at 16, 24 and 32 pixels square (100, 150
#                            and 200 %), 24 bits per pixel: pixels less than half covered by
#                            the art hold the mask colour light grey (192, 192, 192), the others
#                            the art over the face colour of buttons, so the edges stay clean
set -eu
art=$1
out=$2
shift 2
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

for name in "$@"; do
    for size in 16 24 32; do
        rsvg-convert --width=$size --height=$size --format=png --output="$tmp/$name.png" \
            "$art/$name.svg"
        convert -size ${size}x$size 'xc:#c0c0c0' \
            \( "$tmp/$name.png" -background '#f0f0f0' -flatten \) \
            \( "$tmp/$name.png" -alpha extract -threshold 50% \) -composite \
            -type TrueColor "BMP3:$out/${name}_$size.bmp"
    done
done
rm -rf "$tmp"
