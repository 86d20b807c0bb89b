#!/usr/bin/env bash
# The Quillex demo, run by `make demo` after the build: a synthetic well in a
# fresh home folder, a job of six petrophysical curves run on it headless,
# then a zone report, and last a plot of the well with its new curves
# exported to a PNG. Everything happens under the build folder; a rerun
# starts again from nothing.
#
#   demo/run_demo.sh            (BUILD_DIR names another build folder)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-build}
[[ $build = /* ]] || build=$root/$build
tools=$build/tools
home=$build/demo-home
input="DEMO: /FIELD/LEASE/WELL1/LOGS"
well=/FIELD/LEASE/WELL1
# The zone of the report: an oil-bearing sand with shale above and below.
zone_from=5540
zone_to=5600

for tool in quillex-demo-well quillex-run dorvex tavlo; do
  if [[ ! -x $tools/$tool ]]; then
    echo "run_demo.sh: $tools/$tool is missing; run 'make build' first" >&2
    exit 1
  fi
done

dorvex() { "$tools/dorvex" --home "$home" "$@"; }
quillex_run() { "$tools/quillex-run" --home "$home" "$@"; }
heading() { printf '\n==== %s\n\n' "$*"; }

# The outputs of a job file, one line each: name, units and formula.
show_job() {
  awk -F'=' '
    /^output=/ { split(substr($0, 8), field, ","); name = field[1]; units = field[2] }
    /^formula=/ { printf "  %-8s %-5s %s\n", name, units, substr($0, 9) }
  ' "$1" | tr -d '\r'
}

heading "Demo home $home (made anew)"
rm -rf "$home"
mkdir -p "$home/jobs"
mkdir -p "$home/plots"
cp "$root"/demo/*.qxj "$home/jobs/"
# The job's presentation, in the presentation folder.
cp "$root/demo/demo.prs" "$home/plots/DEMO.PRS"
ls "$home/jobs" "$home/plots"

heading "1. A synthetic well written into a new database DEMO"
"$tools/quillex-demo-well" --home "$home"
echo
dorvex ls DEMO

heading "2. The curve job petrophysics.qxj (formulas run strictly left to right)"
show_job "$home/jobs/petrophysics.qxj"
echo
echo "\$ quillex-run petrophysics.qxj --input \"$input\""
echo "(The job's presentation DEMO.PRS starts the plotting program tavlo on the new"
echo " data set, which shows a window following the run when there is a display."
echo " A missing input sample stays missing in the outputs, except that SW divides"
echo " by it: a math error, worth 0, counted.)"
quillex_run petrophysics.qxj --input "$input" 2>&1

heading "3. The new curves"
# The run wrote into the first numbered data set beside the input that has
# curves (and prepared the next one, still empty, for a following run).
set_name=$(dorvex ls "DEMO:$well" |
  awk '$1 ~ /\/_qxj[0-9]+_\/[^\/]+\/[0-9]+$/ { split($1, part, "/"); print part[5]; exit }')
if [[ -z $set_name ]]; then
  echo "run_demo.sh: the run wrote no curves" >&2
  exit 1
fi
dorvex ls "DEMO:$well/$set_name"

from=5560
to=5564
echo
echo "Inputs and outputs side by side, $from to $to ft (an oil-bearing sand):"
columns=(GR RHOB ILD VSH PHID PHIND SW GRSM)
printf '%-9s' DEPTH "${columns[@]}"
echo
paths=()
for name in "${columns[@]}"; do
  case $name in
    GR|RHOB|ILD) paths+=("$well/LOGS/$name/1") ;;
    *) paths+=("$well/$set_name/$name/1") ;;
  esac
done
columns_dir=$home/columns
mkdir -p "$columns_dir"
dorvex cat "DEMO:${paths[0]}" --from "$from" --to "$to" | cut -f1 >"$columns_dir/0"
for i in "${!paths[@]}"; do
  dorvex cat "DEMO:${paths[$i]}" --from "$from" --to "$to" | cut -f2 >"$columns_dir/$((i + 1))"
done
paste $(for i in $(seq 0 ${#paths[@]}); do echo "$columns_dir/$i"; done) |
  awk '{
    line = sprintf("%-9.1f", $1)
    for (i = 2; i <= NF; i++) line = line sprintf("%-9s", sprintf("%.4g", $i))
    print line
  }'
rm -rf "$columns_dir"

heading "4. The report job zone_report.qxj over $zone_from to $zone_to ft"
show_job "$home/jobs/zone_report.qxj"
echo
echo "\$ quillex-run zone_report.qxj --input \"$input\" --from $zone_from --to $zone_to"
echo "(the report's Interval line shows the extent of the first output's first input curve)"
echo
# The report (standard output) first, then the run's messages.
quillex_run zone_report.qxj --input "$input" --from "$zone_from" --to "$zone_to" \
  2>"$home/report-messages.txt"
cat "$home/report-messages.txt"

heading "5. A plot of the well and its new curves"
plot=$build/demo-well.png
plot_from=5400
plot_to=5700
echo "\$ tavlo --export demo-well.png DEMO $well/$set_name --from $plot_from --to $plot_to --width 1100"
echo "(the presentation is the run's, DEMO.PRS: the logs from LOGS beside the new curves)"
"$tools/tavlo" --home "$home" --export "$plot" DEMO "$well/$set_name" \
  --from "$plot_from" --to "$plot_to" --width 1100
echo
echo "The plot is in $plot"

heading "Done"
echo "The demo home stays in $home: try"
echo "  $tools/dorvex --home $home ls DEMO"
echo "  $tools/quillex-run --home $home petrophysics.qxj --input \"$input\" --from 5000 --to 5200"
echo "  $tools/tavlo --home $home DEMO $well/$set_name      (a window, with a display)"
