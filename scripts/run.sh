#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it on the demo document.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"

demo=examples/demo.mrc
if [ -f "$demo" ]; then
  exec build/default/apps/quillop "$demo" "$@"
fi
exec build/default/apps/quillop "$@"
