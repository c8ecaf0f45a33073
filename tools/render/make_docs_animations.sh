#!/usr/bin/env bash
# Renders the animations the README shows (docs/anim-*.gif) from the bundled
# coffee picture with quillo-render. The same tool and arguments give the
# same bytes, so running this again changes nothing unless an effect did.
#   tools/render/make_docs_animations.sh [path/to/quillo-render]
# (the native build's `ninja render_docs` runs it with the tool it built).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
render=${1:-$root/build/native-san/bin/quillo-render}
docs=$root/docs
common=(--input "$root/samples/coffee.png" --size 240x160 --frames 40 --delay 5 --seed 1)

# The fly-throughs drift with the cursor: up and to the left of the centre.
"$render" tunnel "${common[@]}" --cursor 380,300 --gif "$docs/anim-tunnel.gif"
"$render" sphere "${common[@]}" --cursor 380,300 --gif "$docs/anim-sphere.gif"
"$render" kale "${common[@]}" --cursor 420,330 --gif "$docs/anim-kale.gif"
# Water: rain, the surfer and four presses of the mouse.
"$render" water "${common[@]}" --drop 1,120,80 --drop 12,60,50 --drop 24,180,110 --drop 36,90,120 \
  --gif "$docs/anim-water.gif"
# Cool sparks: hot ones soon melt into one white blaze.
"$render" dawa "${common[@]}" --heat 10 --gif "$docs/anim-dawa.gif"
# The rings swing widest from some 60 frames into the cycle.
"$render" warp "${common[@]}" --skip 60 --gif "$docs/anim-warp.gif"
# Pool light and the wavy shimmer; the disco beams early on, near the middle.
"$render" pool "${common[@]}" --skip 40 --gif "$docs/anim-pool.gif"
"$render" wavy "${common[@]}" --gif "$docs/anim-wavy.gif"
"$render" disco "${common[@]}" --brightness 160 --speed 4 --gif "$docs/anim-disco.gif"
# A star of mirrored wedges drifting, and the sunset gradient turning its hue.
"$render" magic "${common[@]}" --pattern 9 --cursor 420,330 --gif "$docs/anim-magic.gif"
"$render" gradient "${common[@]}" --gradient 1 --strength 75 --speed 9 --gif "$docs/anim-gradient.gif"
# The jelly poked three times; the lake's rows swinging over a ripple of 20 frames.
"$render" gloop "${common[@]}" --cell 60 --drop 1,120,80 --drop 14,60,50 --drop 27,180,110 \
  --gif "$docs/anim-gloop.gif"
"$render" lake "${common[@]}" --period 20 --gif "$docs/anim-lake.gif"
# Snow and rain once they are under way, drifting clouds, and the fireworks
# some 130 frames in, when the rockets burst over the picture.
"$render" snow "${common[@]}" --skip 20 --gif "$docs/anim-snow.gif"
"$render" rain "${common[@]}" --skip 20 --drops 400 --gif "$docs/anim-rain.gif"
"$render" cloud "${common[@]}" --gif "$docs/anim-cloud.gif"
"$render" firework "${common[@]}" --skip 130 --rockets 16 --sparks 30 --gif "$docs/anim-firework.gif"
# The mirrored torus once all 72 of its triangles are in (it plays at 640 x 480).
"$render" envmap "${common[@]}" --skip 72 --gif "$docs/anim-torus.gif"
# The flames once their front has cooled to orange, and the tumbling box
# (it plays at 640 x 480; fewer colours keep the file small).
"$render" flamme "${common[@]}" --skip 30 --gif "$docs/anim-flamme.gif"
"$render" tex "${common[@]}" --skip 30 --colours 64 --gif "$docs/anim-box.gif"
# The sprite storm tumbling as a cursor up and to the left of the centre
# steers it, its glow fading behind the sprites.
"$render" storm "${common[@]}" --cursor 380,300 --gif "$docs/anim-storm.gif"
# Rocks once the first of them have come near, and the feedback's glowing
# cross (a preset whose lines lie inside the picture) swirling away.
"$render" rock "${common[@]}" --skip 60 --rocks 600 --gif "$docs/anim-rocks.gif"
"$render" feedback "${common[@]}" --preset 4 --lines 2 --glow 250 --gif "$docs/anim-feedback.gif"
