#!/bin/sh
# Renders the hicolor PNGs from the SVG source, and from them the Windows icon: 16x16 in 256
# colours, 32x32 in 16 colours and 32x32 in 256 colours. They are committed so a build needs no
# SVG renderer, ImageMagick or Python; run this again after editing the SVG.
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

command -v convert >/dev/null 2>&1 && command -v python3 >/dev/null 2>&1 || {
    echo "render-icons.sh: the Windows icon needs ImageMagick's convert and python3" >&2
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Transparent or opaque, as an icon's mask knows them; then the colours its depth allows.
reduce() {
    convert "$icons/hicolor/${1}x${1}/apps/org.quilvane.Quilvane.png" -channel A -threshold 50% \
        +channel +dither -colors "$2" -depth 8 "rgba:$work/$1-$2.rgba"
}
reduce 16 256
reduce 32 16
reduce 32 256
python3 "$here/make-ico.py" "$icons/quilvane.ico" "16:8:$work/16-256.rgba" "32:4:$work/32-16.rgba" \
    "32:8:$work/32-256.rgba"
echo "$icons/quilvane.ico"
