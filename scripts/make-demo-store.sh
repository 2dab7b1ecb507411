#!/usr/bin/env bash
# Builds the demo keyword store beside the executables in BIN_DIR from the
# simplified Chinese word list of Debian's python3-jieba: its words become
# the product words, and shop names derived from them the store words.
set -euo pipefail
bin_dir=${1:?usage: make-demo-store.sh BIN_DIR}
dict=/usr/lib/python3/dist-packages/jieba/dict.txt
stamp="$bin_dir/.demo-store"
[[ -f "$stamp" && "$stamp" -nt "$bin_dir/kestrix-cli" ]] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cut -d' ' -f1 "$dict" > "$work/product.txt"
# Every 16th word of two or more characters names a shop, with one of three suffixes in turn.
awk 'length($0) >= 2 && NR % 16 == 0 { s = (n++ % 3 == 0) ? "旗舰店" : (n % 3 == 1 ? "专营店" : "专卖店"); print $0 s }' \
  "$work/product.txt" > "$work/store.txt"
"$bin_dir/kestrix-cli" pack --output "$bin_dir" --category product "$work/product.txt"
"$bin_dir/kestrix-cli" pack --output "$bin_dir" --category store "$work/store.txt"
touch "$stamp"
