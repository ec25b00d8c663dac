#!/usr/bin/env bash
# Renders the gallery images in docs/gallery from the built character files:
# a grid of key frames of every animation and a frame strip of Greet, Announce and a walk.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUILLOMI_BUILD_DIR:-$here/build}
out=$here/docs/gallery
mkdir -p "$out"
for file in "$build"/data/chars/*.acs; do
    name=$(basename "$file" .acs)
    "$build/characters/quillomi-gallery" "$file" "$out/$name.png"
    "$build/characters/quillomi-gallery" "$file" "$out/$name-strip.png" --strip Greet Announce MoveLeft
done
# Flat art keeps its look in 255 colours at a quarter of the size.
for png in "$out"/*.png; do
    convert "$png" -dither None -colors 255 "PNG8:$png"
done
