#!/usr/bin/env bash
# Pictures of the plotting program for `make screenshots`, after
# `make demo`: the window over the demo well's run (under xvfb-run) and the
# first page of the run's plot exported as PDF, turned into a PNG. All go
# into the build folder.
#
#   demo/tavlo_screenshots.sh      (BUILD_DIR names another build folder)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-build}
[[ $build = /* ]] || build=$root/$build
home=$build/demo-home
shots=$build/screenshots
set_path=/FIELD/LEASE/WELL1/_qxj1_
mkdir -p "$shots"

if [[ ! -f $home/db/DEMO.db ]]; then
  echo "tavlo_screenshots.sh: no demo well in $home; run 'make demo' first" >&2
  exit 1
fi
cmake --build "$build" --target window_screenshot >/dev/null

window=$shots/tavlo-window.png
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/plot/window_screenshot" "$home" DEMO "$set_path" "$window" --at 5520
echo "the window over the demo well's run: $window"

pdf=$shots/tavlo-export.pdf
"$build/tools/tavlo" --home "$home" --export "$pdf" DEMO "$set_path" --from 5500 --to 5650 --width 1100
pdftoppm -png -r 96 -f 1 -l 1 -singlefile "$pdf" "$shots/tavlo-pdf-page"
echo "the first page of the PDF export: $shots/tavlo-pdf-page.png"
