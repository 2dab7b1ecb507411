#!/usr/bin/env bash
# Creates the project's wine prefix once. wine maps the dialog font "MS Shell
# Dlg" to Tahoma, which it lacks; Latin text would fall back to a serif face,
# so these names point at DejaVu Sans instead (the host's fonts are seen).
set -euo pipefail
deps=${KESTRIX_WIN_DEPS:-/var/cache/kestrix-windows}
prefix=${WINEPREFIX:-$deps/wineprefix}
[[ -f "$prefix/.kestrix-ready" ]] && exit 0
run="$(dirname "$0")/wine-run"
"$run" wineboot -i >/dev/null 2>&1 || true
for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
  "$run" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /d 'DejaVu Sans' /f >/dev/null 2>&1
done
WINEPREFIX=$prefix wineserver -w
touch "$prefix/.kestrix-ready"
