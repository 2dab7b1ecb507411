#!/usr/bin/env bash
# Cross-builds Kestrix for Windows (scripts/build-windows.sh) and runs its
# tests under wine: the core's GoogleTest suites and the window's QTest cases
# through ctest, then the zip unpacked into a folder with a Chinese name and a
# space, searched with kestrix-cli.exe and opened with kestrix.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh
export KESTRIX_WIN_DEPS=${KESTRIX_WIN_DEPS:-/var/cache/kestrix-windows}
scripts/windows/prepare-wine.sh
ctest --preset windows -j2
version=$(sed -n 's/^project(Kestrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
bash tests/windows/zip_test.sh "dist/kestrix-$version-windows-x64.zip" build/release/bin/kestrix-cli
