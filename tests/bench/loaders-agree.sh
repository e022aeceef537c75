#!/usr/bin/env bash
# The loader benchmarks must measure like for like: on the generated small files, the
# viewer's OBJ reading and tinyobjloader find the same numbers of positions, texture
# coordinates, normals and faces, and each program prints its RESULT line in full.
set -euo pipefail
bench="$1"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$bench/makebenchfiles" "$folder" --small
counts() { grep -o 'v=[0-9]* vt=[0-9]* vn=[0-9]* f=[0-9]*$' <<<"$1"; }
format='^RESULT loader=[^ ]+ file=[^ ]+ bytes=[0-9]+ runs=1 t_min=[0-9.]+ t_med=[0-9.]+ t_max=[0-9.]+ MBps_best=[0-9.]+ MBps_med=[0-9.]+ MBps_worst=[0-9.]+ v=[0-9]+ vt=[0-9]+ vn=[0-9]+ f=[0-9]+$'
status=0
for file in "$folder"/*.obj; do
  ours=$(BENCH_RUNS=1 "$bench/objload" "$file")
  theirs=$(BENCH_RUNS=1 "$bench/tinyobjload" "$file")
  floor=$(BENCH_RUNS=1 "$bench/freadload" "$file" floor)
  for line in "$ours" "$theirs" "$floor"; do
    if ! grep -Eq "$format" <<<"$line"; then echo "malformed: $line"; status=1; fi
  done
  if [ "$(counts "$ours")" != "$(counts "$theirs")" ] || grep -q ' f=0$' <<<"$ours"; then
    echo "$(basename "$file"): ours $(counts "$ours"), tinyobjloader $(counts "$theirs")"
    status=1
  fi
done
exit $status
