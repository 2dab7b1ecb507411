#!/usr/bin/env bash
# Builds the Windows dependencies once into a cache outside the source tree:
# PCRE2 (16-bit, JIT, static), OpenSSL's libcrypto (static) and Qt's Core, Gui,
# Widgets and Test with the Windows platform plugin, all from Debian's source
# packages. Later runs find
# the finished prefixes and return at once.
# Usage: scripts/windows/build-deps.sh CACHE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$(cd "$here/../../cmake" && pwd)/mingw-w64-x86_64.cmake
cache=$1
mkdir -p "$cache/src"
jobs=$(nproc)

fetch_sources() {
  # apt-get source needs a deb-src entry for the archive the machine already uses.
  if ! ls /etc/apt/sources.list.d/kestrix-src.sources >/dev/null 2>&1; then
    local uris suites
    uris=$(grep -h -m1 '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1 | cut -d' ' -f2-)
    suites=$(grep -h -m1 '^Suites:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1 | cut -d' ' -f2-)
    [[ -n "$uris" ]] || uris=http://deb.debian.org/debian
    [[ -n "$suites" ]] || suites="bookworm bookworm-updates"
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uris" "$suites" > /etc/apt/sources.list.d/kestrix-src.sources
    apt-get update -qq
  fi
  (cd "$cache/src" && apt-get source --download-only "$@")
}

if [[ ! -f "$cache/pcre2/lib/libpcre2-16.a" ]]; then
  ls "$cache"/src/pcre2_*.orig.tar.* >/dev/null 2>&1 || fetch_sources pcre2
  rm -rf "$cache/src/pcre2" && mkdir -p "$cache/src/pcre2"
  tar -xf "$(ls "$cache"/src/pcre2_*.orig.tar.* | head -n1)" -C "$cache/src/pcre2" --strip-components=1
  cmake -S "$cache/src/pcre2" -B "$cache/build/pcre2" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$cache/pcre2" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DPCRE2_BUILD_PCRE2_8=OFF -DPCRE2_BUILD_PCRE2_16=ON \
    -DPCRE2_SUPPORT_JIT=ON -DPCRE2_SUPPORT_UNICODE=ON -DPCRE2_BUILD_TESTS=OFF -DPCRE2_BUILD_PCRE2GREP=OFF >/dev/null
  cmake --build "$cache/build/pcre2" -j"$jobs"
  cmake --install "$cache/build/pcre2" >/dev/null
fi

if [[ ! -f "$cache/openssl/lib/libcrypto.a" ]]; then
  # One crypto library on both platforms: the same digests and AES-CTR code
  # paths, so a store packed on one opens on the other byte for byte.
  ls "$cache"/src/openssl_*.orig.tar.* >/dev/null 2>&1 || fetch_sources openssl
  rm -rf "$cache/src/openssl" && mkdir -p "$cache/src/openssl"
  tar -xf "$(ls "$cache"/src/openssl_*.orig.tar.* | grep -v '\.asc$' | head -n1)" -C "$cache/src/openssl" --strip-components=1
  (cd "$cache/src/openssl" &&
    ./Configure mingw64 --cross-compile-prefix=x86_64-w64-mingw32- --prefix="$cache/openssl" \
      --libdir=lib no-shared no-tests no-module >/dev/null &&
    make -j"$jobs" build_libs >/dev/null && make install_dev >/dev/null)
  rm -rf "$cache/src/openssl"
fi

if [[ ! -f "$cache/qt/bin/qt-cmake" ]]; then
  ls "$cache"/src/qt6-base_*.orig.tar.* >/dev/null 2>&1 || fetch_sources qt6-base
  rm -rf "$cache/src/qtbase" && mkdir -p "$cache/src/qtbase"
  tar -xf "$(ls "$cache"/src/qt6-base_*.orig.tar.* | head -n1)" -C "$cache/src/qtbase" --strip-components=1
  # The archive strips wintab, so tablet events stay off; OpenGL is off as a whole
  # (the opengl feature alone leaves dynamic GL on and the platform plugin fails).
  cmake -S "$cache/src/qtbase" -B "$cache/build/qtbase" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$cache/qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_pkg_config=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF \
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF -DFEATURE_testlib=ON -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_md4c=OFF >/dev/null
  cmake --build "$cache/build/qtbase" -j"$jobs"
  cmake --install "$cache/build/qtbase" >/dev/null
  rm -rf "$cache/build/qtbase" "$cache/src/qtbase"
fi
