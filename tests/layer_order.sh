#!/usr/bin/env bash
# The folders are layers: a file includes only from its own folder and the
# folders below it, so that each layer builds and is understood without the
# ones above. This check fails, naming the line, on any include that reaches
# upward, on an include from a folder it does not know (add a new folder to
# the list below, at its place), and on Qt in a folder of the core.
#
#   bash tests/layer_order.sh [SOURCE_DIR]
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2

# Lowest first. Folders on one line share a layer.
layers=(
  "libs/profile"
  "libs/dorvex libs/sift32"
  "libs/corutil"
  "libs/las"
  "model"
  "curvedata"
  "formula"
  "jobfile"
  "run"
  "app"
  "editor"
  "plot"
  "tools"
  "bench fuzz"
)
# The core: no window system below this layer.
first_qt_layer=9

declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

# The layer of a path: its folder, with tests/X taken as X (a test sits in
# the layer it tests, tests/dorvex in libs/dorvex's). A helper of the tests
# in tests/support sits in the highest layer it includes from, so a test of
# the lowest library may use one that needs only the standard library.
layer_of() {
  local path=$1
  if [[ $path == tests/support/* ]]; then
    local highest=-1 included theirs
    for included in $(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$path" 2>/dev/null); do
      theirs=$(layer_of "$included")
      [[ -n $theirs ]] && ((theirs > highest)) && highest=$theirs
    done
    echo "$highest"
    return
  fi
  if [[ $path == tests/* ]]; then
    path=${path#tests/}
    [[ -n ${rank[libs/${path%%/*}]+x} ]] && path=libs/$path
  fi
  local folder=${path%%/*}
  [[ $folder == libs ]] && folder=$(cut -d/ -f1-2 <<<"$path")
  [[ -n ${rank[$folder]+x} ]] && echo "${rank[$folder]}" || echo ""
}

failures=0
while IFS= read -r file; do
  own=$(layer_of "$file")
  if [[ -z $own ]]; then
    echo "$file: in a folder that is no layer (add it to tests/layer_order.sh)"
    failures=$((failures + 1))
    continue
  fi
  while IFS=: read -r line text; do
    included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$text")
    # Qt's meta-object code for a file's own classes, made by the build.
    [[ $included == "$(basename "$file" .cpp).moc" ]] && continue
    theirs=$(layer_of "$included")
    if [[ -z $theirs ]]; then
      echo "$file:$line: includes \"$included\" from a folder that is no layer"
      failures=$((failures + 1))
    elif ((theirs > own)); then
      echo "$file:$line: includes \"$included\" from a layer above its own"
      failures=$((failures + 1))
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
  # The plotting program's library reads the database through libs/dorvex
  # alone, never through the core's layers.
  if [[ $file == plot/* ]]; then
    while IFS=: read -r line text; do
      echo "$file:$line: the plot includes only from libs/ and plot/"
      failures=$((failures + 1))
    done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | grep -v -E '"(libs|plot)/')
  fi
  if ((own >= 0 && own < first_qt_layer)) && grep -q -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
    echo "$file: Qt in the core"
    failures=$((failures + 1))
  fi
done < <(git ls-files '*.h' '*.cpp' 2>/dev/null || find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||')

if ((failures > 0)); then
  echo "$failures include(s) out of layer order"
  exit 1
fi
echo "every include follows the layer order"
