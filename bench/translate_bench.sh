#!/bin/sh
# Translation benchmark: nelvor to C alone and to all nine targets at once, beside ABC and yosys
# reading the same BLIF file and writing it as Verilog, on the largest circuits of the bench's
# dialect folder and on a generated family of 10k to 640k gates; then the growth per x4 step of
# the family.
#
#   sh bench/translate_bench.sh [-r RUNS] [-n "SIZES"] [-s "I L O"] [-b BENCH_DIR] [-y] NELVOR [NELVOR...]
#
# Each figure is the median of RUNS runs (3 by default) of the whole process: processor seconds
# (user + system, to the microsecond) and peak resident memory (MiB), from bench/timed_run.cpp,
# which the script compiles with c++ (or, without a compiler, /usr/bin/time of Debian package
# `time`, to the hundredth of a second).
# With two nelvor programs (an old and a new build, say) both are measured in the same runs, in
# turn, and each gets its columns; the ratios are each one's time over ABC's. SIZES are the
# family's gate counts (default "10000 40000 160000 640000"); the family has n/I inputs, n/L
# latches and n/O outputs (-s, default "50 20 100"), each gate a two-input function of earlier
# signals. ABC and yosys columns are "-" when the tool is missing; -y leaves yosys out (it takes
# minutes a run on the largest circuit).
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
runs=3
sizes="10000 40000 160000 640000"
shares="50 20 100"
bench=$here/../shared/bench
noyosys=
while getopts r:n:s:b:y o; do
    case $o in
    r) runs=$OPTARG ;;
    n) sizes=$OPTARG ;;
    s) shares=$OPTARG ;;
    b) bench=$OPTARG ;;
    y) noyosys=1 ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: $0 [-r RUNS] [-n SIZES] [-s \"I L O\"] [-b BENCH_DIR] [-y] NELVOR [NELVOR...]" >&2; exit 2; }
set -- $shares "$@"
share_i=$1 share_l=$2 share_o=$3
shift 3
for d in "$share_i" "$share_l" "$share_o"; do
    case $d in ''|*[!0-9]*|0) echo "$0: -s takes three positive divisors, as \"50 20 100\"" >&2; exit 2 ;; esac
done
programs=""
for p in "$@"; do
    [ -x "$p" ] || { echo "$0: no program $p" >&2; exit 1; }
    programs="$programs $(cd "$(dirname "$p")" && pwd)/$(basename "$p")"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
timer=
if command -v c++ >/dev/null && c++ -O2 -o "$work/timed_run" "$here/bench/timed_run.cpp" 2>/dev/null; then
    timer=$work/timed_run
elif [ ! -x /usr/bin/time ]; then
    echo "$0: neither c++ nor /usr/bin/time (package time) to time the runs" >&2; exit 1
fi
all="-lustre -esterel -le -c -cs -vhdl -systemc -doc -latex"
have() { command -v "$1" >/dev/null; }

# once LABEL COMMAND...: runs the command in $work/LABEL (a fresh folder holding c.blif) and
# appends "seconds mebibytes" to $work/LABEL.runs, or "- -" when it fails
once() {
    label=$1; shift
    rm -rf "$work/$label"; mkdir "$work/$label"; cp "$work/c.blif" "$work/$label/"
    if [ -n "$timer" ]; then
        if (cd "$work/$label" && "$timer" ../$label.time "$@"); then
            awk '{ printf "%.3f %.0f\n", $1, $2 / 1024 }' "$work/$label.time" >>"$work/$label.runs"
        else
            echo "- -" >>"$work/$label.runs"
        fi
    elif (cd "$work/$label" && /usr/bin/time -f "%U %S %M" -o ../$label.time "$@" >/dev/null 2>&1); then
        awk '{ printf "%.3f %.0f\n", $1 + $2, $3 / 1024 }' "$work/$label.time" >>"$work/$label.runs"
    else
        echo "- -" >>"$work/$label.runs"
    fi
    rm -rf "$work/$label"
}

# median LABEL: "seconds mebibytes", the medians of the runs of LABEL
median() {
    for column in 1 2; do
        cut -d' ' -f$column "$work/$1.runs" | sort -g | awk '{ v[NR] = $1 } END { printf "%s ", v[int((NR + 1) / 2)] }'
    done
}

# measure NAME: the runs of every program on $work/c.blif; leaves the medians in
# $work/NAME.<label>.median
measure() {
    rm -f "$work"/*.runs
    r=0
    while [ $r -lt "$runs" ]; do
        j=0
        for program in $programs; do
            j=$((j + 1))
            once "c$j" "$program" c -c
            once "all$j" "$program" c $all
        done
        have berkeley-abc && once abc berkeley-abc -q "read_blif c.blif; write_verilog out.v"
        [ -z "$noyosys" ] && have yosys && once yosys yosys -q -p "read_blif c.blif; write_verilog out.v"
        r=$((r + 1))
    done
    for run_file in "$work"/*.runs; do
        run_label=$(basename "$run_file" .runs)
        median "$run_label" >"$work/$1.$run_label.median"
    done
}

# cell NAME LABEL: "seconds | MiB" of one measure, or "- | -"
cell() {
    if [ -f "$work/$1.$2.median" ]; then set -- $(cat "$work/$1.$2.median"); echo "$1 | $2"; else echo "- | -"; fi
}

# ratio NAME LABEL: LABEL's time over ABC's
ratio() {
    a=$(cut -d' ' -f1 "$work/$1.abc.median" 2>/dev/null || echo -)
    b=$(cut -d' ' -f1 "$work/$1.$2.median")
    awk -v a="$a" -v b="$b" 'BEGIN { if (a + 0 > 0 && b != "-") printf "%.2f", b / a; else print "-" }'
}

header() {
    line="| circuit | work"; rule="|---|---"
    k=0
    for p in $programs; do
        k=$((k + 1)); line="$line | nelvor$k s | MiB"; rule="$rule|---:|---:"
    done
    line="$line | ABC s | MiB | yosys s | MiB"; rule="$rule|---:|---:|---:|---:"
    k=0
    for p in $programs; do k=$((k + 1)); line="$line | nelvor$k/ABC"; rule="$rule|---:"; done
    echo "$line |"; echo "$rule|"
}

# rows NAME: the table's two lines for one measured circuit
rows() {
    for w in c all; do
        if [ $w = c ]; then line="| $1 | -c"; else line="| $1 | all nine"; fi
        k=0
        for p in $programs; do k=$((k + 1)); line="$line | $(cell "$1" $w$k)"; done
        line="$line | $(cell "$1" abc) | $(cell "$1" yosys)"
        k=0
        for p in $programs; do k=$((k + 1)); line="$line | $(ratio "$1" $w$k)"; done
        echo "$line |"
    done
}

# generated N FILE: N gates, N/I inputs, N/L latches, N/O outputs (the shares of -s); each gate
# an AND, OR, XOR or NOR of two earlier signals, one of them among the 100 made just before it
generated() {
    awk -v n="$1" -v di="$share_i" -v dl="$share_l" -v do_="$share_o" 'BEGIN {
        srand(11)
        ni = int(n / di); nl = int(n / dl); no = int(n / do_)
        printf ".model gen\n.inputs"
        for (i = 0; i < ni; i++) { printf " i%d", i; s[i] = "i" i }
        printf "\n.outputs"
        for (i = 0; i < no; i++) printf " g%d", n - 1 - i
        printf "\n"
        for (i = 0; i < nl; i++) { s[ni + i] = "q" i }
        m = ni + nl
        split("11 1|1- 1\n-1 1|10 1\n01 1|00 1", f, "|")
        for (k = 0; k < n; k++) {
            a = s[m - 1 - int(rand() * (m < 100 ? m : 100))]
            b = s[int(rand() * m)]
            print ".names " a " " b " g" k
            print f[1 + int(rand() * 4)]
            s[m++] = "g" k
        }
        for (i = 0; i < nl; i++) print ".latch g" int(rand() * n) " q" i " " (i % 2)
        print ".end"
    }' >"$2"
}

echo "Medians of $runs runs; nelvor1..:$programs"
echo
header
for f in itc99/b17 itc99/b22 epfl/div epfl/mem_ctrl epfl/multiplier; do
    [ -f "$bench/dialect/$f.blif" ] || continue
    cp "$bench/dialect/$f.blif" "$work/c.blif"
    measure "$(basename $f)"
    rows "$(basename $f)"
done
for n in $sizes; do
    generated "$n" "$work/c.blif"
    measure "gen$n"
    rows "gen$n"
done

# growth: the exponent e of each x4 step of the family, time(4n) = 4^e time(n)
echo
echo "Growth of the family's times per x4 step (exponent e: the time grows 4^e times):"
echo
head="| times of"; rule="|---"; prev=""
for n in $sizes; do
    [ -n "$prev" ] && { head="$head | $prev to $n"; rule="$rule|---:"; }
    prev=$n
done
echo "$head |"
echo "$rule|"
labels="abc yosys"
k=0
for p in $programs; do k=$((k + 1)); labels="c$k all$k $labels"; done
for l in $labels; do
    line="| $l"; prev=""
    for n in $sizes; do
        t=$(cut -d' ' -f1 "$work/gen$n.$l.median" 2>/dev/null || echo -)
        if [ -n "$prev" ]; then
            line="$line | $(awk -v a="$prev" -v b="$t" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", log(b / a) / log(4); else print "-" }')"
        fi
        prev=$t
    done
    echo "$line |"
done
