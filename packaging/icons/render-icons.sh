#!/usr/bin/env bash
# Renders the program's icon to the PNG sizes of the hicolor theme. Run it
# after changing the SVG and commit the PNGs with it.
# Needs rsvg-convert (librsvg2-bin) or ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")"

svg=nl.vinkring.Artikel.svg
for size in 16 22 24 32 48 64 128 256; do
  out=png/${size}x${size}/nl.vinkring.Artikel.png
  mkdir -p "$(dirname "$out")"
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert -w "$size" -h "$size" -o "$out" "$svg"
  else
    # Render large, then scale down: sharper small sizes.
    convert -density 384 -background none "$svg" -resize "${size}x${size}" -depth 8 -strip "$out"
  fi
done
