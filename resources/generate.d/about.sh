#!/usr/bin/env bash
# The about window's picture: the product name, its version and the built-in clock face
# showing 10:08. Composed from background.bmp and glyphs.bmp with ImageMagick.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/.." && pwd)}
im=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$out"

# The face: digits are 15 px cells of the glyph strip, the colon sits in x 151..158.
cell() { "$im" glyphs.bmp -crop "$2x25+$1+0" +repage "$tmp/$3.bmp"; }
cell 15 15 d1; cell 0 15 d0; cell 150 9 colon; cell 120 15 d8
"$im" "$tmp/d1.bmp" "$tmp/d0.bmp" "$tmp/colon.bmp" "$tmp/d0.bmp" "$tmp/d8.bmp" +append "$tmp/time.bmp"
"$im" background.bmp -fill '#000000' -draw 'point 114,7' -fill '#121826' -draw 'point 114,7' \
      "$tmp/time.bmp" -geometry +26+7 -composite \
      -transparent '#ff0000' -filter point -resize 200% "$tmp/face.png"

"$im" -size 300x180 gradient:'#26344e'-'#0c1019' \
      "$tmp/face.png" -geometry +30+72 -composite \
      -font DejaVu-Sans-Bold -pointsize 28 -fill '#78e0ff' -annotate +18+40 'Zentaro' \
      -font DejaVu-Sans -pointsize 13 -fill '#c8d8ee' -annotate +186+40 'Version 2.01' \
      -font DejaVu-Sans -pointsize 11 -fill '#8ea4c4' -annotate +20+62 'Desktop clock with alarms' \
      -annotate +20+170 'Click the picture to close.' \
      -type TrueColor BMP3:about.bmp
