#!/usr/bin/env bash
# End-to-end check of the Windows zip under wine, as a user gets it: unpacked
# into a folder whose name holds Chinese characters and a space, kestrix-cli.exe
# finds what the Linux kestrix-cli finds in the same store (packed on Linux),
# a store packed on Windows reads on Linux byte for byte, and kestrix.exe opens
# its window and writes its settings file beside itself.
# Usage: zip_test.sh ZIP LINUX_KESTRIX_CLI
set -euo pipefail
zip=$(realpath "$1")
linux_cli=$(realpath "$2")
run="$(cd "$(dirname "$0")/../../scripts/windows" && pwd)/wine-run"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/关键词 工具"
mkdir -p "$home"
(cd "$home" && unzip -q "$zip")
app=$(ls -d "$home"/kestrix-*-windows-x64)
fail() { echo "zip_test: $*" >&2; exit 1; }

# The same answers on both platforms, in UTF-8 on stdout.
for args in "search 阿迪" "search --mode middle --count 男式" "search --mode pinyin adds" \
            "search --mode regex --count 阿.*鞋$" "search --category store --mode right 旗舰店 --count" \
            "count --category store --letter N"; do
  # shellcheck disable=SC2086
  win=$("$run" "$app/kestrix-cli.exe" $args | tr -d '\r')
  # shellcheck disable=SC2086
  lin=$("$linux_cli" ${args%% *} --data "$app" ${args#* })
  [[ "$win" == "$lin" ]] || fail "kestrix-cli $args: Windows and Linux differ"
  [[ -n "$win" ]] || fail "kestrix-cli $args: no output"
done
echo "zip_test: kestrix-cli.exe answers as on Linux"

# An export through a Chinese path equals the Linux export byte for byte.
"$run" "$app/kestrix-cli.exe" search --mode all --output "$home/全部 A.txt" >/dev/null
"$linux_cli" search --data "$app" --mode all --output "$work/linux-all.txt" >/dev/null
cmp -s "$home/全部 A.txt" "$work/linux-all.txt" || fail "the exports differ"

# A list of root words: the same counts, and the same split files with the
# same safe names (a reserved name, a slash, a space).
printf '\xEF\xBB\xBF男式\r\n鞋\r\nCON\r\na/b\r\n阿迪 鞋\r\n' > "$home/词根.txt"
win=$("$run" "$app/kestrix-cli.exe" search --mode middle --count --queries "$home/词根.txt" | tr -d '\r')
lin=$("$linux_cli" search --data "$app" --mode middle --count --queries "$home/词根.txt")
[[ "$win" == "$lin" && -n "$win" ]] || fail "kestrix-cli --queries: Windows and Linux differ"
"$run" "$app/kestrix-cli.exe" search --mode left --queries "$home/词根.txt" --split "$home/拆分 结果" >/dev/null
"$linux_cli" search --data "$app" --mode left --queries "$home/词根.txt" --split "$work/split" >/dev/null
diff -r "$home/拆分 结果" "$work/split" >/dev/null || fail "the split files differ"

# A store packed on Windows opens on Linux.
printf '阿迪达斯男鞋\n阿迪跑鞋\n巴黎世家\n' > "$work/words.txt"
"$run" "$app/kestrix-cli.exe" pack --output "$home/新 库" --category product "$work/words.txt" >/dev/null
[[ $("$linux_cli" search --data "$home/新 库" --mode all --count) == 3 ]] || fail "the Windows-packed store does not read on Linux"
echo "zip_test: exports and stores are the same on both platforms"

# The window opens, and its settings file appears beside the exe.
if command -v xvfb-run >/dev/null; then
  xvfb-run -a bash -c '
    "$1" "$2/kestrix.exe" & pid=$!
    for _ in $(seq 1 60); do
      xdotool search --name "Kestrix v" >/dev/null 2>&1 && break
      sleep 1
    done
    xdotool search --name "Kestrix v" >/dev/null 2>&1 || { echo "zip_test: no window" >&2; kill $pid; exit 1; }
    [ -n "${3:-}" ] && import -window root "$3"
    sleep 2
    kill $pid; wait $pid 2>/dev/null || true' _ "$run" "$app" "${KESTRIX_SHOT:-}"
  [[ -f "$app/Kestrix.ini" ]] || fail "the window did not write Kestrix.ini beside itself"
  echo "zip_test: kestrix.exe opened its window"
fi
echo "zip_test: passed"
