#!/usr/bin/env bash
# Fails when a source file includes a folder of a higher layer, so that the
# libraries keep depending one way. A folder may include itself and the
# folders listed before it; tools/, tests/ and bench/ may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."
order=(platform settings catalogue search pictures session assets widgets generators
       about slideshow editor mainwindow app)
rank() {
    local i
    for i in "${!order[@]}"; do
        [[ ${order[$i]} == "$1" ]] && { echo "$i"; return; }
    done
    echo -1
}
status=0
for dir in "${order[@]}"; do
    [[ -d $dir ]] || continue
    mine=$(rank "$dir")
    while IFS= read -r -d '' file; do
        while IFS= read -r inc; do
            top=${inc%%/*}
            [[ $inc == */* ]] || { echo "$file: include \"$inc\" is not rooted at the repository"; status=1; continue; }
            theirs=$(rank "$top")
            if (( theirs < 0 )); then
                echo "$file: include \"$inc\" names no known folder"; status=1
            elif (( theirs > mine )); then
                echo "$file: $dir may not include $top (\"$inc\")"; status=1
            fi
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    done < <(find "$dir" \( -name '*.h' -o -name '*.cpp' \) -print0)
done
# generators are for the tools and the tests only: no program library includes them.
if grep -rln --include='*.h' --include='*.cpp' '#include "generators/' \
       platform settings catalogue search pictures session assets widgets about slideshow editor mainwindow app 2>/dev/null; then
    echo "the files above include generators/, which only tools and tests may"; status=1
fi
[[ $status == 0 ]] && echo "layers: no upward include"
exit $status
