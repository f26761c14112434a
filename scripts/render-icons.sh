#!/bin/sh
# Renders the hicolor PNGs from the SVG source. The PNGs are committed so a build
# needs no SVG renderer; run this again after editing the SVG.
set -eu
here=$(CDPATH= cd -- "$(dirname -- "$0")" && pwd)
icons="$here/../data/icons"
svg="$icons/org.quilvane.Quilvane.svg"
command -v rsvg-convert >/dev/null 2>&1 || {
    echo "render-icons.sh: rsvg-convert not found (Debian package librsvg2-bin)" >&2
    exit 1
}
for n in 16 32 48 64 128 256; do
    out="$icons/hicolor/${n}x${n}/apps/org.quilvane.Quilvane.png"
    mkdir -p "$(dirname "$out")"
    rsvg-convert --width "$n" --height "$n" --keep-aspect-ratio --format png \
        --output "$out" "$svg"
    echo "$out"
done
