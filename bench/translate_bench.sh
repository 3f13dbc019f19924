#!/bin/sh
# Translation benchmark: nelvor on the largest circuits of the bench's dialect folder, to every
# text target (LUSTRE, ESTEREL, LIGHT ESTEREL, description, LaTeX, BAC), beside ABC and yosys
# writing Verilog from the same file; then one family at three sizes.
#
#   sh bench/translate_bench.sh [BUILD_DIR] [BENCH_DIR]
#
# Prints one table row per circuit: processor seconds and peak resident memory (MB) of each program, and
# the ratio of nelvor's time to ABC's. Needs /usr/bin/time; ABC and yosys columns are "-" when
# the tool is missing.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
bench=${2:-$here/../shared/bench}
nelvor=$build/blif/nelvor
options="-lustre -esterel -le -doc -latex -bac"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ -x "$nelvor" ] || { echo "no nelvor program in $build/blif" >&2; exit 1; }
[ -d "$bench/dialect" ] || { echo "no dialect folder in $bench" >&2; exit 1; }

# measure LABEL COMMAND...: prints "seconds megabytes" of the command run in $work, or "- -";
# the seconds are processor time (user and system), which a loaded machine disturbs less than
# the elapsed time
measure() {
    label=$1; shift
    if ! /usr/bin/time -f "%U %S %M" -o "$work/$label.time" "$@" >"$work/$label.out" 2>&1; then
        echo "- -"
        return
    fi
    awk '{ printf "%.2f %.0f\n", $1 + $2, $3 / 1024 }' "$work/$label.time"
}

# copy FILE: FILE as $work/c.blif, the input of every program
copy() {
    cp "$1" "$work/c.blif"
}

# row FILE: one line of the table for the circuit in FILE
row() {
    file=$1
    name=$(basename "$file" .blif)
    copy "$file"
    names=$(grep -c '^\.names' "$file")
    set -- $(cd "$work" && measure nelvor "$nelvor" c $options)
    nt=$1; nm=$2
    set -- $(cd "$work" && measure parse "$nelvor" c)
    pt=$1
    if command -v berkeley-abc >/dev/null; then
        set -- $(cd "$work" && measure abc berkeley-abc -q "read_blif c.blif; write_verilog abc.v")
    else set -- - -; fi
    at=$1; am=$2
    if command -v yosys >/dev/null; then
        set -- $(cd "$work" && measure yosys yosys -q -p "read_blif c.blif; write_verilog yosys.v")
    else set -- - -; fi
    yt=$1; ym=$2
    ratio=$(awk -v n="$nt" -v a="$at" 'BEGIN { if (a > 0 && n != "-") printf "%.1f", n / a; else print "-" }')
    printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n" \
        "$name" "$names" "$pt" "$nt" "$nm" "$at" "$am" "$yt" "$ym" "$ratio"
}

echo "| circuit | .names | nelvor parse+sort s | nelvor all text targets s | MB | ABC s | MB | yosys s | MB | nelvor/ABC |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for f in itc99/b17 itc99/b22 epfl/div epfl/mem_ctrl epfl/multiplier epfl/voter itc99/b14 itc99/b15 \
         iscas89/s38417 iscas89/s38584; do
    [ -f "$bench/dialect/$f.blif" ] && row "$bench/dialect/$f.blif"
done

echo
echo "One family at three sizes (ISCAS'89):"
echo
echo "| circuit | .names | nelvor parse+sort s | nelvor all text targets s | MB | ABC s | MB | yosys s | MB | nelvor/ABC |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for f in iscas89/s5378 iscas89/s13207 iscas89/s38417; do
    [ -f "$bench/dialect/$f.blif" ] && row "$bench/dialect/$f.blif"
done

# generated N FILE: an N-bit counter with enable (two gates a bit) and N gates mixing its bits
generated() {
    awk -v n="$1" 'BEGIN {
        srand(7)
        print ".model gen"; print ".inputs en x"; print ".outputs carry g" n - 1
        for (i = 0; i < n; i++) print ".latch n" i " q" i " " (i % 2)
        for (i = 0; i < n; i++) {
            print ".names en " (i == 0 ? "en" : "c" (i - 1)) " c" i; print "11 1"
            print ".names c" i " q" i " n" i; print "10 1"; print "01 1"
        }
        print ".names c" n - 1 " carry"; print "1 1"
        for (i = 0; i < n; i++) {
            print ".names " (i == 0 ? "x" : "g" (i - 1)) " q" int(rand() * n) " g" i; print "11 1"
        }
        print ".end"
    }' >"$2"
}

echo
echo "A generated family (counter and mixing gates, 3 .names per bit) at three sizes:"
echo
echo "| circuit | .names | nelvor parse+sort s | nelvor all text targets s | MB | ABC s | MB | yosys s | MB | nelvor/ABC |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for n in 5000 20000 80000; do
    generated $n "$work/gen$n.blif"
    row "$work/gen$n.blif"
done

echo
echo "Per target on the largest circuits (seconds, parse and sort included):"
echo
echo "| circuit | -lustre | -esterel | -le | -doc | -latex |"
echo "|---|---:|---:|---:|---:|---:|"
for f in itc99/b17 epfl/div epfl/mem_ctrl; do
    [ -f "$bench/dialect/$f.blif" ] || continue
    copy "$bench/dialect/$f.blif"
    line="| $(basename $f)"
    for t in -lustre -esterel -le -doc -latex; do
        set -- $(cd "$work" && measure target "$nelvor" c $t)
        line="$line | $1"
    done
    echo "$line |"
done
