#!/usr/bin/env bash
# Installs what is missing, builds everything, builds the demo store and
# starts the main job over it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
bin=build/release/bin
scripts/make-demo-store.sh "$bin"
echo
echo "Sample search: product words starting with 阿迪 (kestrix-cli search --data $bin 阿迪)"
"$bin/kestrix-cli" search --data "$bin" 阿迪 | head -20
