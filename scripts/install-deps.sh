#!/usr/bin/env bash
# Installs the Debian packages Kestrix needs to build, test and run, skipping
# those already present. Usage: scripts/install-deps.sh [--bench]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libssl-dev libpcre2-dev libgtest-dev
  qt6-base-dev fonts-wqy-microhei
  python3 python3-jieba
  xvfb xauth xdotool imagemagick x11-utils
)
# node runs the regular-expression cross-check; a machine may already have its own.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
[[ "${1:-}" == "--bench" ]] && packages+=(ripgrep time)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
