#!/bin/sh
# Renders the preview pictures of docs/scenes with the software previewer.
#   tools/gen-scenes/make_previews.sh <build folder>
# The resources folder of that build must hold the generated sets (build the orvo_resources target).
set -e
build=${1:-build}
preview="$build/tools/gen-scenes/scene-preview"
res="$build/resources"
out="$(dirname "$0")/../../docs/scenes"
mkdir -p "$out"
shot() { "$preview" "$res" "$@"; }

for t in 1 14 27 35; do shot intro-005.orvo $t "$out/intro_${t}s.png"; done
for t in 0.5 3 5.3; do shot ArenaTunnel.orvo $t "$out/arenatunnel_${t}s.png"; done
# The stadium at scene times (show time = scene time + 35.833 s).
for t in 7 14 32 40 48 54 58 61.5 65 70 80; do shot Vexil2000.orvo $t "$out/stadium_${t}s.png"; done
# The closing tunnel from the layer's own cameras: a stand at 131 s, the logo cut at 160 s, the view
# blend's end at the retro computer, and the run down the tunnel.
shot tunnel-004.orvo 0 "$out/tunnel_stand_131s.png" 0.28 3.3 48.19 -2.72 3.78 48.38 50
shot tunnel-004.orvo 0 "$out/tunnel_cut_160s.png" 0.2 2.1 32.38 -0.6 1.1 30.08 50
shot tunnel-004.orvo 0 "$out/tunnel_computer.png" 4.0 -0.6 -47.73 4.7 -0.4 -48.23 50
shot tunnel-004.orvo 0 "$out/tunnel_run.png" 0 3.8 90 0 3.8 0 50
for f in No_Bigscreens_Just_Lasers Quantum_Computing_Compo 8_Petabyte_Intro_Compo Demoscene_Fashion_Show \
         400_DJs_On_1200_Floors; do
  shot $f.orvo 0.6 "$out/title_${f}_0.6s.png"
  shot $f.orvo 2.4 "$out/title_${f}_2.4s.png"
done
shot velmora-logo.orvo 1.5 "$out/logo.png"
