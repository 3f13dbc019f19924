#!/bin/sh
# The rewrites that keep a circuit's behaviour, on the largest circuits of the bench's dialect folder
# (those that the test suite leaves out for their size), proven by Berkeley ABC as in the tests: the
# automaton written by its BLIF writer before and after the rewrite (simplify_bench -write), then
# "cec" (combinational circuits, and the next-state functions when the registers stay) and "dsec"
# (sequential circuits), each with a time limit.
#
#   sh bench/simplify_equivalence.sh [BUILD_DIR] [BENCH_DIR] [SECONDS]
#
# Prints one line per circuit and rewrite: the verdicts and ABC's elapsed seconds.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
bench=${2:-$here/../shared/bench}
limit=${3:-600}
program=$build/bench/simplify_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ -x "$program" ] || { echo "no simplify_bench program in $build/bench" >&2; exit 1; }
[ -d "$bench/dialect" ] || { echo "no dialect folder in $bench" >&2; exit 1; }
command -v berkeley-abc >/dev/null || { echo "berkeley-abc is not installed" >&2; exit 1; }

# verdict COMMAND REWRITE: "equivalent", "NOT-EQUIVALENT" or "undecided", then the seconds
verdict() {
    start=$(date +%s.%N)
    out=$(cd "$work" && timeout "$limit" berkeley-abc -c "$1 before.blif $2.blif" 2>&1)
    end=$(date +%s.%N)
    seconds=$(echo "$end - $start" | bc)
    case $out in
    *"Networks are equivalent"*) printf "equivalent %.1f" "$seconds" ;;
    *"NOT EQUIVALENT"*) printf "NOT-EQUIVALENT %.1f" "$seconds" ;;
    *) printf "undecided %.1f" "$seconds" ;;
    esac
}

for f in itc99/b17 itc99/b22 epfl/div epfl/mem_ctrl epfl/multiplier iscas89/s15850 iscas89/s38417 \
         iscas89/s38584 lgsynth91_seq/clma; do
    file=$bench/dialect/$f.blif
    [ -f "$file" ] || continue
    latches=$(grep -c '^\.latch' "$file")
    for rewrite in suppress_wires useless_clean constants_propagation; do
        rm -f "$work"/*.blif
        "$program" -t "$limit" -write "$work" "$file" "$rewrite" >/dev/null 2>&1
        [ -f "$work/$rewrite.blif" ] || { echo "$f $rewrite: not written"; continue; }
        cec=-
        dsec=-
        if [ "$latches" -eq 0 ] || [ "$rewrite" != useless_clean ]; then cec=$(verdict cec "$rewrite"); fi
        if [ "$latches" -gt 0 ]; then dsec=$(verdict dsec "$rewrite"); fi
        echo "$f $rewrite: cec $cec dsec $dsec"
    done
done
