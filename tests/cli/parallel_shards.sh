#!/usr/bin/env bash
# A collection solved in three shards by GNU parallel on two local jobs gives the lines of one
# run over the whole collection, each exactly once.
# Usage: parallel_shards.sh SOLVER COLLECTION
set -euo pipefail
solve=$1
collection=$2
command -v parallel >/dev/null || { echo "GNU parallel is missing; scripts/setup installs it"; exit 1; }

single=$("$solve" --epd "$collection" --quiet)
merged=$(parallel --will-cite -j 2 "$solve" --epd "$collection" --quiet --shard {}/3 ::: 1 2 3)

records=$(grep -c . "$collection")
answers=$(wc -l <<<"$single")
[ "$answers" -eq "$records" ] || { echo "one run answered $answers of $records records"; exit 1; }
if [ "$(sort <<<"$single")" != "$(sort <<<"$merged")" ]; then
  diff <(sort <<<"$single") <(sort <<<"$merged")
  exit 1
fi
echo "$records records, the same answers in three shards"
