#!/bin/sh
# Output digests: runs one nelvor program over every circuit of the bench's dialect folder, at
# each level (-O0, -O1, -O2) with every target at once, each run in a scratch folder of its
# own, and writes one line per output file: "circuit level file sha256". Two programs give
# byte-identical outputs when their lists are equal:
#
#   sh bench/digests.sh NELVOR LIST [BENCH_DIR] [SECONDS] [JOBS]
#   sh bench/digests.sh build/blif/nelvor /tmp/new.txt && diff /tmp/old.txt /tmp/new.txt
#
# A run that exceeds SECONDS (default 120) of elapsed time is killed and listed as
# "circuit level - SKIPPED"; the standard output and the exit status of each run are listed
# too, as the files "stdout" and "status". JOBS runs go on at once (default 3).
set -u
targets="-lustre -esterel -le -c -cs -vhdl -systemc -doc -latex"

# one run, in the folder $4: "--run NELVOR SECONDS WORK FILE LEVEL" prints its digest lines
if [ "${1:-}" = "--run" ]; then
    nelvor=$2; limit=$3; work=$4; file=$5; level=$6
    circuit=$(basename "$(dirname "$file")")/$(basename "$file" .blif)
    dir=$work/$(echo "$circuit$level" | tr '/' '_')
    mkdir "$dir" && cp "$file" "$dir/c.blif" || exit 1
    (cd "$dir" && exec timeout -s KILL "$limit" "$nelvor" c $level $targets >stdout 2>/dev/null)
    status=$?
    if [ $status -eq 137 ]; then
        echo "$circuit $level - SKIPPED"
    else
        echo "$status" >"$dir/status"
        rm -f "$dir/c.blif"
        for o in $(cd "$dir" && ls); do
            echo "$circuit $level $o $(sha256sum <"$dir/$o" | cut -d' ' -f1)"
        done
    fi
    rm -rf "$dir"
    exit 0
fi

[ $# -ge 2 ] || { echo "usage: $0 NELVOR LIST [BENCH_DIR] [SECONDS] [JOBS]" >&2; exit 2; }
here=$(cd "$(dirname "$0")/.." && pwd)
nelvor=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
list=$2
bench=${3:-$here/../shared/bench}
limit=${4:-120}
jobs=${5:-3}
[ -x "$nelvor" ] || { echo "$0: no program $nelvor" >&2; exit 1; }
[ -d "$bench/dialect" ] || { echo "$0: no dialect folder in $bench" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for f in $(find "$bench/dialect" -name '*.blif' | sort); do
    for level in -O0 -O1 -O2; do echo "$f $level"; done
done | xargs -P "$jobs" -L 1 sh "$0" --run "$nelvor" "$limit" "$work" >"$work/lines"
LC_ALL=C sort "$work/lines" >"$list"
echo "$(grep -vc ' SKIPPED$' "$list") files, $(grep -c ' SKIPPED$' "$list") runs skipped" \
     "(over $limit s) -> $list"
