#!/usr/bin/env bash
# Fails when a file of the program includes a header of a folder that is not
# below its own: the folders of src/ are layers, and this table is the one
# place that says which folder may include which. A folder always includes
# its own headers; a header without a folder (Version.h, made by the build)
# is not checked.
#
# usage: check_includes.sh SRC_DIR
set -euo pipefail
src=${1:?"usage: check_includes.sh SRC_DIR"}

declare -A may=(
    [core]=""
    [storage]="core"
    [widgets]="core storage"
    [offering]="core storage widgets"
    [update]="core widgets"
    [maintenance]="core storage widgets offering"
    [reports]="core storage widgets offering"
    [year]="core storage widgets offering maintenance reports"
    [gifts]="core storage widgets offering maintenance"
    [app]="core storage widgets offering update maintenance reports year gifts"
)

bad=0
cd "$src"
for dir in */; do
    dir=${dir%/}
    if [[ ! -v may[$dir] ]]; then
        echo "$src/$dir: a folder the layer table does not know"
        bad=1
        continue
    fi
done
while IFS=: read -r file line text; do
    from=${file%%/*}
    to=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"/]+)\/.*/\1/' <<<"$text")
    [[ $to == "$from" ]] && continue
    if [[ ! " ${may[$from]:-} " == *" $to "* ]]; then
        echo "$src/$file:$line: $from may not include $to: $text"
        bad=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^"/]+/' --include='*.h' --include='*.cpp' --include='*.in' . | sed 's|^\./||')
if [[ $bad == 0 ]]; then
    echo "Every include goes to the folder itself or a folder below it."
fi
exit $bad
