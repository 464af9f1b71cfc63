#!/usr/bin/env bash
# Times the quarnel tool against cut(1) on a generated comma-separated file
# and prints the ratios.
#
#   bench/tool_vs_cut.sh [SIZE_MB] [QUARNEL]
#
# SIZE_MB defaults to 200; QUARNEL defaults to build/quarnel (use a Release
# build). One line in ten has a quoted field holding a comma. Each command
# runs three times and the fastest run counts.
set -euo pipefail
size_mb=${1:-200}
tool=${2:-build/quarnel}
data=$(mktemp "${TMPDIR:-/tmp}/quarnel-bench.XXXXXX.csv")
trap 'rm -f "$data"' EXIT

python3 - "$data" "$size_mb" <<'PY'
import random, sys
path, size = sys.argv[1], int(sys.argv[2]) << 20
rng = random.Random(7)
words = ["alpha", "bravo", "Köln", "delta", "echo", "fox", "golf", "hotel", "İzmir", "juliet"]
lines = []
for i in range(40000):
    city = rng.choice(words)
    if i % 10 == 0:
        city = f'"{city}, {rng.choice(words)}"'
    lines.append(f"{i},{city},{rng.randint(1900, 2024)},{rng.random():.4f},{rng.choice(words)}\n")
block = "".join(lines).encode()
with open(path, "wb") as f:
    written = 0
    while written < size:
        f.write(block)
        written += len(block)
PY

best() {  # best COMMAND...: the fastest of three runs, in seconds
  local fastest=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" <"$data" >/dev/null
    end=$(date +%s.%N)
    fastest=$(echo "$start $end ${fastest:-}" | awk '{t = $2 - $1; if ($3 == "" || t < $3) print t; else print $3}')
  done
  echo "$fastest"
}

cut_s=$(best cut -d, -f2)
sep_s=$(best "$tool" sep)
tsv_s=$(best "$tool" sep -f tsv)
jsonl_s=$(best "$tool" sep -f jsonl)
csv_s=$(best "$tool" csv)
printf 'input: %s MB, %s lines\n' "$size_mb" "$(wc -l <"$data")"
printf '%-22s %7.2f s\n' "cut -d, -f2" "$cut_s" "quarnel sep" "$sep_s" "quarnel sep -f tsv" \
  "$tsv_s" "quarnel sep -f jsonl" "$jsonl_s" "quarnel csv" "$csv_s"
awk -v c="$cut_s" -v s="$sep_s" -v t="$tsv_s" -v j="$jsonl_s" -v v="$csv_s" 'BEGIN {
  printf "sep / cut      %5.2f  (goal <= 1.2)\n", s / c
  printf "tsv / sep      %5.2f  (goal <= 1.5)\n", t / s
  printf "jsonl / sep    %5.2f  (goal <= 1.5)\n", j / s
  printf "csv / cut      %5.2f  (goal <= 3)\n", v / c
}'
