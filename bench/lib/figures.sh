# Sourced by bench/startup and bench/startup-windows: the rounds of runs, and the figures made of
# them in $work/figures.

# rounds RUNS FLOOR...: the program and the floors RUNS times, each of them first, second and so
# on in turn, a line a round: the program's figures, then each floor's in the order given, as
# the caller's `run PROGRAM MILESTONE` prints them; the program is waited for to its main window.
rounds() {
    local runs=$1 i k program last line
    shift
    local programs=(quorvex "$@")
    for ((i = 0; i < runs; i++)); do
        local -A got=()
        for ((k = 0; k < ${#programs[@]}; k++)); do
            program=${programs[(i + k) % ${#programs[@]}]}
            last=window-painted
            [[ $program != quorvex ]] || last=main-painted
            got[$program]=$(run "$program" "$last")
        done
        line=
        for program in "${programs[@]}"; do line+=" ${got[$program]}"; done
        echo "${line# }"
    done
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
column() { awk -v c="$1" '{ print $c }' "$work/figures" | median; }

# ratios A B: the ratio of the medians of columns A and B, the spread of the ratios of the rounds,
# and the ratio of the fastest runs of each, which the machine's other work weighs on least.
ratios() {
    local a b
    a=$(column "$1") b=$(column "$2")
    awk -v a="$1" -v b="$2" '{ print $a / $b }' "$work/figures" | sort -g | awk -v p="$a" -v b="$b" '
        { r[NR] = $1 } END { printf "%.2f (rounds: median %.2f, quartiles %.2f-%.2f, range %.2f-%.2f)",
            p / b, r[int((NR + 1) / 2)], r[int((NR + 3) / 4)], r[int((3 * NR + 1) / 4)], r[1], r[NR] }'
    awk -v a="$1" -v b="$2" 'NR == 1 || $a < fa { fa = $a } NR == 1 || $b < fb { fb = $b }
        END { printf "; fastest %.1f and %.1f ms, %.2f\n", fa, fb, fa / fb }' "$work/figures"
}

# milestones PROGRAM ORIGIN WORDS: where PROGRAM's milestones fall, in the order they come, as
# median ms from the milestone ORIGIN, which WORDS name.
milestones() {
    local program=$1 origin=$2 milestone trace
    echo "$program's milestones, ms from $3 (medians):"
    cat "$work"/trace-"$program"-* | awk '{ print $1 }' | awk '!seen[$0]++' | while read -r milestone; do
        [[ $milestone == "$origin" || $milestone == launch || $milestone == process-start ]] && continue
        for trace in "$work"/trace-"$program"-*; do
            awk -v m="$milestone" -v o="$origin" '!($1 in at) { at[$1] = $2 }
                END { if (m in at) print (at[m] - at[o]) / 1e6 }' "$trace"
        done | median | xargs printf "  %-24s %7.1f\n" "$milestone"
    done
}
