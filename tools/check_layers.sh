#!/usr/bin/env bash
# Fails when a source file includes a folder of a higher layer, so that the
# libraries keep depending one way. A folder may include itself and the
# folders listed before it; tools/, tests/ and bench/ may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."
order=(platform settings catalogue search pictures session assets widgets generators
       about slideshow editor mainwindow app)
declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done
present=()
for dir in "${order[@]}"; do [[ -d $dir ]] && present+=("$dir"); done
status=0
# One pass over every file: "file:include" per quoted include.
while IFS= read -r line; do
    file=${line%%:*}
    inc=${line#*:}
    dir=${file%%/*}
    [[ $inc == */* ]] || { echo "$file: include \"$inc\" is not rooted at the repository"; status=1; continue; }
    top=${inc%%/*}
    theirs=${rank[$top]:--1}
    if (( theirs < 0 )); then
        echo "$file: include \"$inc\" names no known folder"; status=1
    elif (( theirs > ${rank[$dir]} )); then
        echo "$file: $dir may not include $top (\"$inc\")"; status=1
    fi
done < <(grep -rH --include='*.h' --include='*.cpp' -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"' \
             "${present[@]}" | sed 's/:[^"]*"\([^"]*\)"$/:\1/')
# generators are for the tools and the tests only: no program library includes them.
if grep -rln --include='*.h' --include='*.cpp' '#include "generators/' \
       platform settings catalogue search pictures session assets widgets about slideshow editor mainwindow app 2>/dev/null; then
    echo "the files above include generators/, which only tools and tests may"; status=1
fi
[[ $status == 0 ]] && echo "layers: no upward include"
exit $status
