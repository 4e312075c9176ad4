#!/usr/bin/env bash
# Checks the formatting (.clang-format at the top of the tree) of the lines that the commits
# BASE..HEAD change, and only those. Prints the changes clang-format would make and exits 1 when
# there are any, 0 when the changed lines are formatted; changes no file.
#
#   scripts/check-format.sh [BASE [HEAD]]     (defaults: main and HEAD)
set -euo pipefail

base=${1:-main}
head=${2:-HEAD}
cd "$(git rev-parse --show-toplevel)"

gcf=$(command -v git-clang-format-14 || command -v git-clang-format || true)
binary=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z "$gcf" || -z "$binary" ]]; then
    echo "check-format: git-clang-format and clang-format (14) are needed" >&2
    exit 2
fi

from=$(git merge-base "$base" "$head")
to=$(git rev-parse "$head")
if [[ "$from" == "$to" ]]; then
    echo "check-format: no commits in $base..$head"
    exit 0
fi

output=$("$gcf" --binary "$binary" --style file --extensions c,h,cc,cpp,hpp --diff "$from" "$to" 2>&1) || true
if grep -q '^diff ' <<<"$output"; then
    printf '%s\n' "$output"
    echo "check-format: the lines above, changed in $base..$head, are not formatted" >&2
    exit 1
fi
echo "check-format: the lines changed in $base..$head are formatted"
