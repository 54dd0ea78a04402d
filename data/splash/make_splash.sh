#!/usr/bin/env bash
# Regenerates 240.png, the splash picture, with ImageMagick. The picture is committed; the build
# does not need ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans
bold=DejaVu-Sans-Bold
convert -size 420x240 gradient:'#1d3557-#0b1320' \
  -fill 'rgba(0,174,239,0.75)' -draw 'circle 320,90 320,58' \
  -fill 'rgba(236,0,140,0.75)' -draw 'circle 360,90 360,58' \
  -fill 'rgba(255,242,0,0.75)' -draw 'circle 320,130 320,98' \
  -fill 'rgba(35,31,32,0.85)' -draw 'circle 360,130 360,98' \
  -font "$bold" -pointsize 38 -fill white -annotate +28+92 'Quor KRN' \
  -font "$font" -pointsize 15 -fill '#c8d6e5' -annotate +30+122 'Prepress preview viewer' \
  -font "$font" -pointsize 12 -fill '#8fa3b8' -annotate +30+205 'Quor Varnex 2.0.3' \
  -font "$font" -pointsize 10 -fill '#8fa3b8' -annotate +30+222 'Copyright (c) Quor. All rights reserved.' \
  -depth 8 -strip 240.png
