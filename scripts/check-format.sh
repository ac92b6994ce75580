#!/usr/bin/env bash
# Every C++ file of the project is formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "format check: run clang-format -i on the files above"
    exit 1
fi
echo "format check: ${#files[@]} files formatted"
