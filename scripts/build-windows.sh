#!/usr/bin/env bash
# Cross-builds Kestrix for Windows x64 and writes the portable zip
# dist/kestrix-VERSION-windows-x64.zip. Installs what it needs with apt-get;
# the Windows dependencies (Qt, PCRE2, libcrypto) are built once into
# $KESTRIX_WIN_DEPS (default /var/cache/kestrix-windows) and reused.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

scripts/install-deps.sh
scripts/windows/install-toolchain.sh
export KESTRIX_WIN_DEPS=${KESTRIX_WIN_DEPS:-/var/cache/kestrix-windows}
mkdir -p "$KESTRIX_WIN_DEPS"
scripts/windows/build-deps.sh "$KESTRIX_WIN_DEPS"

cmake --preset windows >/dev/null
cmake --build --preset windows

# The demo store comes from the Linux kestrix-cli, so the zip also carries a
# store packed on Linux: the format is the same on both.
cmake --preset release >/dev/null
cmake --build --preset release --target kestrix-cli
scripts/make-demo-store.sh "$top/build/release/bin"

version=$(sed -n 's/^project(Kestrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=kestrix-$version-windows-x64
stage=$top/build/windows/stage/$name
rm -rf "$stage" && mkdir -p "$stage/platforms" "$stage/styles"
bin=$top/build/windows/bin
qt=$KESTRIX_WIN_DEPS/qt
strip=x86_64-w64-mingw32-strip
cp "$bin/kestrix.exe" "$bin/kestrix-cli.exe" "$stage/"
cp "$qt/bin/Qt6Core.dll" "$qt/bin/Qt6Gui.dll" "$qt/bin/Qt6Widgets.dll" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt's DLLs use the toolchain's shared C++ runtime (the exes carry theirs).
cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll \
   /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll \
   /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
find "$stage" -name '*.dll' -exec $strip --strip-unneeded {} +
$strip "$stage/kestrix.exe" "$stage/kestrix-cli.exe"
cp -r "$top/build/release/bin/商品词" "$top/build/release/bin/店铺词" "$top/build/release/bin/词数.ini" "$stage/"
# The how-to in Chinese: UTF-8 with a byte-order mark and CR LF, as Notepad likes it.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' scripts/windows/使用说明.txt; } > "$stage/使用说明.txt"

mkdir -p dist
rm -f "dist/$name.zip"
(cd "$stage/.." && LC_ALL=C.UTF-8 zip -qr -X "$top/dist/$name.zip" "$name")
echo "wrote dist/$name.zip ($(du -h "dist/$name.zip" | cut -f1))"
