#!/bin/sh
# Prints how large the tests are beside the rest of the code: non-blank lines
# that are not only a comment, over the tracked sources, build and CI files.
# Tests and fuzz targets are to stay within a third of the whole.
cd "$(dirname "$0")/.." || exit 1
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || exit 0
sel='\.(c|cc|cpp|h|hpp|sh|py|cmake)$|(^|/)CMakeLists\.txt$|(^|/)Makefile$|^\.ci/run$'
count() { tr '\n' '\0' | xargs -0 cat | grep -cvE '^\s*(//|#|$)'; }
t=$(git ls-files tests fuzz | grep -E "$sel" | count)
c=$(git ls-files | grep -vE '^(tests|fuzz)/' | grep -E "$sel" | count)
echo "tests and fuzz targets: $t lines, everything else: $c lines ($(( 100 * t / (t + c) )) % of the whole)"
