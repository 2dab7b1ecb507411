#!/usr/bin/env bash
# Starts the real kestrix beside a small packed store under Xvfb, checks that
# it gives the desktop its icon, clicks 开始查找, takes a screenshot and checks
# that it shows a list, then presses Esc and checks that the settings reached
# Kestrix.ini. With openbox installed, starts it again under that window
# manager and checks the outer sizes and places of the window and the help.
#   smoke_test.sh KESTRIX KESTRIX_CLI WORKDIR
# Exits 77 (skipped) when Xvfb, xdotool or ImageMagick are missing.
set -u
kestrix=$1 cli=$2 work=$3

for tool in Xvfb xdotool xdpyinfo import convert iconv; do
  if ! command -v "$tool" >/dev/null; then
    echo "smoke test skipped: $tool is missing (apt-get install -y xvfb xdotool x11-utils imagemagick)"
    exit 77
  fi
done

fail() { echo "smoke test FAILED: $*"; exit 1; }

rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
cp "$kestrix" "$work/kestrix" || fail "cannot copy $kestrix"
printf '%s\n' '阿迪达斯 男式鞋' '阿迪 运动服' '阿玛尼 手表' '安踏 运动鞋' '百褶裙' 'nike 跑步鞋' > "$work/product.txt"
printf '%s\n' '安踏旗舰店' '百丽官方店' > "$work/store.txt"
"$cli" pack --output "$work" --category product "$work/product.txt" >/dev/null || fail "pack product"
"$cli" pack --output "$work" --category store "$work/store.txt" >/dev/null || fail "pack store"

display=""
for n in $(seq 101 140); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
  if xdpyinfo -display ":$n" >/dev/null 2>&1; then display=":$n"; break; fi
  kill "$xvfb" 2>/dev/null
done
[ -n "$display" ] || fail "no Xvfb display could be started"
app=""
cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; }
trap cleanup EXIT
export DISPLAY=$display XDG_RUNTIME_DIR=$work

"$work/kestrix" >"$work/kestrix.log" 2>&1 &
app=$!
win=$(timeout 20 xdotool search --sync --name 'Kestrix v1.13' 2>/dev/null | head -1)
[ -n "$win" ] || fail "no main window appeared within 20 s"
sleep 0.5
xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (64 x 64)' || fail "the window gives no icon (_NET_WM_ICON)"

# 开始查找 is 126 x 40 at (402, 476) in the window.
xdotool mousemove --window "$win" 465 496 click 1 || fail "cannot click"
sleep 1.5
shot="$work/kestrix-smoke.png"
import -window "$win" "$shot" || fail "no screenshot"

spread() { convert "$shot" "$@" -colorspace Gray -format '%[fx:standard_deviation]' info:; }
whole=$(spread)
list=$(spread -crop 360x200+12+130 +repage)   # the rows under the list header
awk -v w="$whole" -v l="$list" 'BEGIN { exit !(w > 0.05 && l > 0.01) }' ||
  fail "screenshot looks blank (spread $whole overall, $list in the list)"

xdotool key --window "$win" Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Esc did not close the window"
wait "$app"; status=$?
app=""
[ "$status" = 0 ] || fail "kestrix exited with status $status"
iconv -f GBK -t UTF-8 "$work/Kestrix.ini" | grep -q '^关键词=阿' || fail "Kestrix.ini does not hold the settings"

# Outer geometry "left top width height" of window $1: its client area and
# the frame extents the window manager reports.
outer() {
  local x y w h l r t b
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                                /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ,)
  echo "$((x - ${l:-0})) $((y - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))"
}
# Waits until window $1 has the outer geometry $2.
expect_outer() {
  local got
  for _ in $(seq 50); do got=$(outer "$1"); [ "$got" = "$2" ] && return 0; sleep 0.1; done
  fail "$3: outer geometry $got, expected $2"
}

if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; kill "$wm" "$xvfb" 2>/dev/null; }
  sleep 1
  "$work/kestrix" >>"$work/kestrix.log" 2>&1 &
  app=$!
  win=$(timeout 20 xdotool search --sync --name 'Kestrix v1.13' 2>/dev/null | head -1)
  [ -n "$win" ] || fail "no main window appeared under openbox"
  # 681 x 610 outside, in the middle of the 1024 x 768 screen.
  expect_outer "$win" "171 79 681 610" "main window under openbox"
  xdotool mousemove --window "$win" 128 76 click 1  # 疑点说明
  help=$(timeout 10 xdotool search --sync --name 'Lumsa' 2>/dev/null | head -1)
  [ -n "$help" ] || fail "no help dialog appeared under openbox"
  # 495 x 393 outside; left = 1024 / 2 - 495 / 2, top = (768 - 30) / 2 - 393 / 2.
  expect_outer "$help" "265 173 495 393" "help dialog under openbox"
  import -window root "$work/kestrix-openbox.png"
  kill "$app"; wait "$app" 2>/dev/null; app=""
else
  echo "openbox is missing: outer sizes under a window manager not checked (apt-get install -y openbox)"
fi

echo "smoke test passed; screenshot: $shot"
