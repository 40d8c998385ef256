#!/bin/sh
# Renders the program icon from data/icons/bansho.svg into the bitmaps the
# program and the desktop need. The outputs are committed, so the build itself
# never needs ImageMagick; run this again only after changing the SVG.
#   bansho-48.png, bansho-256.png  hicolor icons (transparent)
#   bansho-48.png, bansho-128.png  the window icon (128 scaled down from the 256 one)
#   bansho-36.jpg, bansho-72.jpg   the about box's picture, plain and for 2x screens
# Output is byte-for-byte reproducible: no time stamps, no metadata.
set -e
cd "$(dirname "$0")/../data/icons"
command -v convert >/dev/null || { echo "ImageMagick's convert is needed" >&2; exit 1; }

# Render far above the target size and scale down, for even anti-aliasing.
render() { # size output [extra options]
    size=$1 out=$2
    shift 2
    convert -background none -density 1152 bansho.svg -resize "${size}x${size}" "$@" \
        -strip -define png:exclude-chunks=date,time "$out"
}

for s in 48 256; do
    render "$s" "bansho-$s.png" -depth 8
done
convert bansho-256.png -resize 128x128 -depth 8 -strip -define png:exclude-chunks=date,time \
    bansho-128.png
# JPEG has no transparency: the corners take the usual dialog face colour.
# Full-resolution colour (4:4:4) keeps the small digits sharp.
for s in 36 72; do
    render "$s" "bansho-$s.jpg" -background '#f0f0f0' -flatten -sampling-factor 1x1 -quality 92
done
echo "icons written to $(pwd)"
