#!/usr/bin/env bash
# Makes the test pictures of this folder with ImageMagick and exiftool (Debian's
# imagemagick and libimage-exiftool-perl). The pictures are kept in the repository, so the
# tests never run this; run it again only to change them. The stored 3 x 2 picture is
#     red    green   blue
#     yellow magenta cyan
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
six="$(mktemp --suffix=.ppm)"
trap 'rm -f "$six"' EXIT
printf 'P6\n3 2\n255\n\xff\x00\x00\x00\xff\x00\x00\x00\xff\xff\xff\x00\xff\x00\xff\x00\xff\xff' > "$six"

# The eight orientation tags: a lossless TIFF of the 3 x 2 picture, and a JPEG of it in
# 16-pixel blocks, each tagged but stored as above.
names=(TopLeft TopRight BottomRight BottomLeft LeftTop RightTop RightBottom LeftBottom)
for n in 1 2 3 4 5 6 7 8; do
    "$convert" "$six" -compress none -orient "${names[$((n - 1))]}" "orient-$n.tif"
    "$convert" "$six" -scale 1600% -quality 95 -sampling-factor 1x1 "orient-$n.jpg"
    exiftool -q -n -overwrite_original -Orientation="$n" "orient-$n.jpg"
done

# Formats and their variants, each the 3 x 2 picture in 8-pixel blocks (24 x 16).
"$convert" "$six" -scale 800% -alpha set -channel A -fx 'i<8 && j<8 ? 0.5 : 1' +channel \
    -interlace PNG PNG32:interlaced.png
"$convert" "$six" -scale 800% -alpha set -channel A -fx 'i<8 && j<8 ? 0 : 1' +channel PNG8:palette.png
"$convert" "$six" -scale 800% -depth 16 PNG48:deep.png
"$convert" "$six" -scale 800% -colorspace CMYK -quality 95 -sampling-factor 1x1 cmyk.jpg
"$convert" "$six" -scale 800% -interlace Plane -quality 95 -sampling-factor 1x1 progressive.jpg
"$convert" -delay 10 "$six" -scale 800% \( -size 24x16 xc:black \) -loop 0 animated.gif
"$convert" "$six" -scale 800% \( -size 24x16 xc:black \) -compress lzw pages.tif

# Blue at half alpha (128), for blending over a known colour.
"$convert" -size 4x4 'xc:rgba(0,0,255,0.50196)' PNG32:half-blue.png
