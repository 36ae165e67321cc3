#!/usr/bin/env bash
# Compares quorvane-cli with the floor and with the batch renamers a Linux user would reach
# for, on identical fresh directories of files named "img_NNNNNN_a.jpg", every "_" becoming a
# space:
#   bare      bench/bare_rename.c: readdir, then one renameat2(RENAME_NOREPLACE) per file;
#   quorvane  quorvane-cli rename DIR --underscores --case keep --no-dirs (journaled, as a
#             person runs it);
#   rename    perl rename -0 's/_/ /g' (Debian package "rename"), fed the names by find;
#   mmv       mmv '*_*_*' '#1 #2 #3' (Debian package "mmv").
# Each round runs every tool once, in an order that rotates from round to round, so that a
# busy spell of the machine does not fall on one tool. Prints each tool's median wall time,
# its ratio to the bare loop's median, and its median peak resident memory. A missing peer is
# skipped and named; nothing is installed.
# Usage: bench/peers_bench.sh [--million] [ROUNDS]   (sizes 10,000 and 100,000; --million
# adds 1,000,000, which takes minutes a round). Build first (build/cli/quorvane-cli).
set -euo pipefail
sizes=(10000 100000)
if [ "${1:-}" = --million ]; then
    sizes+=(1000000)
    shift
fi
rounds=${1:-9}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${QUORVANE_CLI:-$root/build/cli/quorvane-cli}
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time (/usr/bin/time, package \"time\") is needed" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-peers-XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME="$work/state" # the runs' journals go to the scratch directory
cc -O2 -o "$work/bare_rename" "$root/bench/bare_rename.c"

tools=(bare quorvane)
if command -v file-rename >/dev/null; then tools+=(rename); else echo "skipped: perl rename (package \"rename\") is not installed"; fi
if command -v mmv >/dev/null; then tools+=(mmv); else echo "skipped: mmv (package \"mmv\") is not installed"; fi

populate() { # DIR COUNT
    mkdir "$1"
    (cd "$1" && seq -f 'img_%06g_a.jpg' "$2" | xargs -d '\n' touch)
}

# run TOOL DIR RSSFILE: one run of TOOL over DIR, its peak memory (KiB) written to RSSFILE.
run() {
    local measure=(/usr/bin/time -f %M -o "$3")
    case $1 in
    bare) "${measure[@]}" "$work/bare_rename" "$2" underscores ;;
    quorvane) "${measure[@]}" "$cli" rename "$2" --underscores --case keep --no-dirs >/dev/null ;;
    rename) (cd "$2" && find . -mindepth 1 -maxdepth 1 -type f -printf '%P\0' \
        | "${measure[@]}" file-rename -0 's/_/ /g') ;;
    mmv) (cd "$2" && "${measure[@]}" mmv '*_*_*' '#1 #2 #3') ;;
    esac
}

results=$work/results
for size in "${sizes[@]}"; do
    for round in $(seq "$rounds"); do
        count=${#tools[@]}
        for ((k = 0; k < count; ++k)); do
            tool=${tools[$(((k + round) % count))]}
            dir=$work/$tool
            populate "$dir" "$size"
            sync
            start=$(date +%s%N)
            run "$tool" "$dir" "$work/rss"
            elapsed=$((($(date +%s%N) - start) / 1000000))
            # Nothing lost, nothing left over: every file renamed, no "_" remains.
            renamed=$(find "$dir" -mindepth 1 -maxdepth 1 -name 'img * a.jpg' | wc -l)
            if [ "$renamed" -ne "$size" ] || [ -n "$(find "$dir" -mindepth 1 -maxdepth 1 -name '*_*' -print -quit)" ]; then
                echo "$tool renamed $renamed of $size files" >&2
                exit 1
            fi
            echo "$size $tool $elapsed $(cat "$work/rss")" >>"$results"
            rm -rf "$dir"
        done
        echo "$size files, round $round of $rounds done" >&2
    done
done

echo "median of $rounds rounds; time relative to the bare loop; peak resident memory"
echo "| files | tool | time (ms) | time / bare | peak memory (MB) |"
echo "|---:|---|---:|---:|---:|"
for size in "${sizes[@]}"; do
    median() { # TOOL COLUMN
        awk -v s="$size" -v t="$1" -v c="$2" '$1 == s && $2 == t { print $c }' "$results" \
            | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
    }
    bare=$(median bare 3)
    for tool in "${tools[@]}"; do
        awk -v s="$size" -v t="$tool" -v ms="$(median "$tool" 3)" -v b="$bare" -v kb="$(median "$tool" 4)" \
            'BEGIN { printf "| %d | %s | %d | %.2f | %.1f |\n", s, t, ms, ms / b, kb / 1024 }'
    done
done
