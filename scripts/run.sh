#!/usr/bin/env bash
# Installs what is missing, builds everything, builds the demo store beside
# the executables and opens the Kestrix window over it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
bin="$PWD/build/release/bin"
scripts/make-demo-store.sh "$bin"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "kestrix: no display to open the window on; run it under Xvfb instead: xvfb-run -a $bin/kestrix" >&2
  echo "Meanwhile, a sample search from the command line (kestrix-cli search 阿迪):"
  "$bin/kestrix-cli" search 阿迪 | head -20
  exit 1
fi
exec "$bin/kestrix"
