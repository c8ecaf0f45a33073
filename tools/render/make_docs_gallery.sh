#!/usr/bin/env bash
# Renders one frame of every animated effect (docs/gallery/*.png) for the
# README's gallery with quillo-render, each over a bundled sample picture,
# some way into its animation. The same tool and arguments give the same
# bytes, so running this again changes nothing unless an effect did.
#   tools/render/make_docs_gallery.sh [path/to/quillo-render]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
render=${1:-$root/build/native-san/bin/quillo-render}
out=$root/docs/gallery
mkdir -p "$out"
samples=$root/samples

# frame NAME PICTURE SKIP [effect options...]: frame SKIP + 1 of effect NAME.
frame() {
  local name=$1 picture=$2 skip=$3
  shift 3
  "$render" "$name" --input "$samples/$picture" --size 200x133 --seed 1 --frames 1 --skip "$skip" "$@" \
    --png "$out/$name-%d.png" > /dev/null
  mv "$out/$name-1.png" "$out/$name.png"
}

frame tunnel coffee.png 20 --cursor 380,300
frame sphere coffee.png 20 --cursor 380,300
frame plane coffee.png 20 --cursor 380,300
frame worm coffee.png 30
frame water chelsea.png 20 --drop 1,100,66 --drop 10,50,40
frame blob chelsea.png 60
frame warp coffee.png 60
frame kale astronaut.png 20 --cursor 420,330
frame illusion astronaut.png 20
frame distort chelsea.png 30
frame dawa coffee.png 40
frame pool coffee.png 40
frame wavy coffee.png 10
frame disco coffee.png 10 --brightness 160 --speed 4
frame magic rocket.jpg 10 --pattern 9 --cursor 420,330
frame gradient chelsea.png 10 --gradient 1 --strength 75
frame gloop chelsea.png 12 --cell 50 --drop 1,100,66 --drop 6,50,40
frame lake coffee.png 8 --period 20
frame bump coffee.png 20
frame flash hubble_deep_field.jpg 60
frame envmap coffee.png 80
frame star hubble_deep_field.jpg 30
frame ftrace astronaut.png 6
frame snow rocket.jpg 150 --flakes 3000
frame rain coffee.png 60 --drops 400
frame cloud rocket.jpg 10
frame firework rocket.jpg 160 --rockets 16 --sparks 30
frame aquarium coffee.png 4 --wavelength 10 --amplitude 30
frame quake coffee.png 12
frame light coffee.png 21 --spot 70 --intensity 50
frame flamme coffee.png 20
frame flares coffee.png 30
frame tex coffee.png 40
frame star17 hubble_deep_field.jpg 30 --stars 150
frame storm coffee.png 12 --cursor 380,300
frame rock hubble_deep_field.jpg 80 --rocks 600
frame feedback coffee.png 7 --preset 4 --lines 2 --glow 250
