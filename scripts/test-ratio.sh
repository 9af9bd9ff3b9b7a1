#!/usr/bin/env bash
# Prints how many lines of tests there are against lines of code: the git-tracked sources under
# tests/ against those everywhere else except bench/, fuzz/, data/, scripts/ and .ci/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
goal=0.35
sources='\.(cpp|cc|h|hpp|py|sh|glsl|vs|fs)$'

# The total line count of the tracked files the arguments select.
count_lines() {
  git ls-files -z -- "$@" | grep -zE "$sources" | xargs -0 -r cat | wc -l
}

# 11310 -> 11,310
grouped() {
  echo "$1" | sed -e ':a' -e 's/\B[0-9]\{3\}\>/,&/' -e 'ta'
}

tests=$(count_lines 'tests/')
code=$(count_lines . ':!tests/' ':!bench/' ':!fuzz/' ':!data/' ':!scripts/' ':!.ci/')
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", (c > 0 ? t / c : 0) }')
echo "tests: $(grouped "$tests") lines, code: $(grouped "$code") lines, ratio $ratio (goal at most $goal)"
