#!/usr/bin/env bash
# The break pictures: twenty calm 640 x 480 scenes (skies, water, hills, soft light),
# written as picture/1.jpg ... picture/20.jpg. Every random pattern has a fixed seed, so a
# rerun gives the same pictures.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/.." && pwd)}/picture
mkdir -p "$out"
im=/usr/bin/convert
W=640 H=480
quality=80

# sky top, sky bottom, light (sun or moon) colour, light x, light y, light radius,
# far hills, near hills, water ("-" for none), cloud seed, cloud strength (0-100)
scenes=(
  "#1d3b6e #f4b26b #fff2c4 470 300 46 #4a3b5c #2a2238 - 11 25"
  "#5b8fd6 #d8ecff #fffbe8 120 90 38 #6f9a6a #3f6b45 - 12 45"
  "#0b1230 #34467a #f2f2e6 500 110 30 #1c2444 #0f1429 - 13 10"
  "#f7c59f #f9e6d0 #fff6e0 320 330 70 #b98d7c #8a6460 #c9a99a 14 20"
  "#88b7e0 #e8f4fb #ffffff 90 80 28 #9fb8a0 #6b8f72 #5f8fb0 15 55"
  "#2e5d87 #9cc8e8 #fdf3d0 540 130 36 #5a7d6a #2f5140 #2f6a8a 16 35"
  "#4b2c5e #e58a6b #ffd8a0 320 350 60 #5a3550 #2b1a30 #7a4a60 17 15"
  "#a7d3f2 #f0f8ff #fffdf0 560 70 32 #8fbf8a #5f9a5a - 18 60"
  "#13294b #5f7fa8 #e9eef7 150 120 26 #243a5e #121f36 #1d3556 19 20"
  "#ffcf9e #ffeedd #fff8ea 200 300 80 #d0a080 #a07060 - 20 30"
  "#3a6073 #a8c0c8 #f5f5ee 420 150 34 #4f6d6a #2c4442 #44707a 21 50"
  "#7ec8e3 #e6f7fb #ffffff 480 90 30 #79b39a #4c8a6e #4aa3c0 22 40"
  "#2b1b3d #c76b6b #ffc890 100 330 50 #4a2a40 #24152a - 23 15"
  "#6a9ac4 #cfe3f1 #fffbe6 330 100 40 #7da58a #557f63 - 24 65"
  "#0f2027 #2c5364 #dfe9f0 520 90 24 #1a3340 #0c1a22 #1b3a48 25 10"
  "#f6d365 #fda085 #fff4d6 320 310 64 #c2785a #8e4f3e #d38b6b 26 20"
  "#9bc5c3 #f1f7f6 #ffffff 160 110 30 #8ab4a0 #5e8c78 #6fa8a8 27 45"
  "#314755 #26a0da #f7fbff 450 120 36 #3c6e71 #284b4d #2a7fa8 28 30"
  "#c9d6ff #e2e2e2 #fffef5 320 120 44 #a3b1c9 #7d8aa6 - 29 55"
  "#1e3c72 #f0a868 #ffe9b8 280 320 54 #3d3a60 #1f1d38 #5a5280 30 25"
)

n=0
for scene in "${scenes[@]}"; do
  n=$((n + 1))
  read -r top bottom light lx ly lr far near water seed clouds <<<"$scene"
  horizon=$((H * 62 / 100))
  args=(-size ${W}x${H} "gradient:$top-$bottom")
  # A soft glow around the light, then the light itself.
  args+=( \( -size ${W}x${H} xc:none -fill "$light" -draw "circle $lx,$ly $((lx + lr * 3)),$ly" -blur 0x40 -channel A -evaluate multiply 0.45 +channel \) -composite )
  args+=( \( -size ${W}x${H} xc:none -fill "$light" -draw "circle $lx,$ly $((lx + lr)),$ly" -blur 0x3 \) -composite )
  # Thin clouds from a blurred plasma field.
  args+=( \( -seed $seed -size ${W}x${H} plasma:white-white -colorspace gray -blur 0x18 -level 45%,85% \
            -alpha copy -channel A -evaluate multiply $(awk "BEGIN{print $clouds/100}") +channel -fill white -colorize 100 \) -composite )
  # Two ranges of hills, drawn as smooth sine-shaped silhouettes.
  far_pts="0,$H" near_pts="0,$H"
  for x in $(seq 0 16 $W); do
    fy=$(awk "BEGIN{printf \"%d\", $horizon - 40 - 28*sin(($x+$seed*37)/97.0) - 14*sin(($x+$seed*11)/41.0)}")
    ny=$(awk "BEGIN{printf \"%d\", $horizon + 10 - 22*sin(($x+$seed*53)/131.0) - 9*sin(($x+$seed*7)/53.0)}")
    far_pts+=" $x,$fy"; near_pts+=" $x,$ny"
  done
  far_pts+=" $W,$H"; near_pts+=" $W,$H"
  args+=( -fill "$far" -draw "polygon $far_pts" )
  if [ "$water" != - ]; then
    # Still water below the far hills, with faint horizontal ripples.
    args+=( \( -size ${W}x$((H - horizon + 10)) "gradient:$water-$near" \
              \( -seed $seed -size ${W}x$((H - horizon + 10)) plasma:gray50-gray50 -colorspace gray -motion-blur 0x30+0 \
                 -alpha copy -channel A -evaluate multiply 0.15 +channel \) -composite \) \
            -geometry +0+$((horizon - 10)) -composite )
  else
    args+=( -fill "$near" -draw "polygon $near_pts" )
  fi
  args+=( -blur 0x0.6 -strip -sampling-factor 4:2:0 -interlace none -quality $quality )
  "$im" "${args[@]}" "$out/$n.jpg"
done
echo "pictures written to $out"
