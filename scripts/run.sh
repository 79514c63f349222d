#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it on the demo document.
set -euo pipefail
cd "$(dirname "$0")/.."
# Compiler cache entries name files relative to the checkout, so a fresh
# clone reuses what an earlier build of the same sources compiled.
export CCACHE_BASEDIR="$PWD"

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"

demo=examples/demo.mrc
if [ -f "$demo" ]; then
  exec build/default/apps/quillop "$demo" "$@"
fi
exec build/default/apps/quillop "$@"
