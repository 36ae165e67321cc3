#!/usr/bin/env bash
# Times quorvane-cli renaming COUNT files of one directory against a bare C loop that
# renames the same files to the same names, and the journaled run against the same run with
# --no-journal (the journal may cost at most 5 %). Run after ./scripts/setup-and-test (or
# any build in build/). Usage: bench/rename_bench.sh [COUNT] [ROUNDS]
set -euo pipefail
count=${1:-100000}
rounds=${2:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${QUORVANE_CLI:-$root/build/cli/quorvane-cli}
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
# The journals go to the scratch directory, not to the user's state.
export XDG_STATE_HOME="$work/state"
cc -O2 -o "$work/bare_rename" "$root/bench/bare_rename.c"

populate() { # DIR: COUNT empty files named like a music collection
    mkdir "$1"
    (cd "$1" && seq -f 'track %06g - some artist.mp3' "$count" | xargs -d '\n' touch)
}
millis() { date +%s%3N; }

best_bare=
best_cli=
best_plain=
for round in $(seq "$rounds"); do
    populate "$work/bare"
    sync
    start=$(millis); "$work/bare_rename" "$work/bare"; bare=$(( $(millis) - start ))
    rm -rf "$work/bare"

    populate "$work/cli"
    sync
    start=$(millis); "$cli" rename "$work/cli" --case upper --no-dirs >/dev/null; run=$(( $(millis) - start ))
    [ "$(ls "$work/cli" | grep -c '^TRACK')" -eq "$count" ] || { echo "run did not rename every file" >&2; exit 1; }
    rm -rf "$work/cli"

    populate "$work/plain"
    sync
    start=$(millis); "$cli" rename "$work/plain" --case upper --no-dirs --no-journal >/dev/null; plain=$(( $(millis) - start ))
    rm -rf "$work/plain"

    echo "round $round: bare loop ${bare} ms, quorvane-cli ${run} ms, --no-journal ${plain} ms"
    if [ -z "$best_bare" ] || [ "$bare" -lt "$best_bare" ]; then best_bare=$bare; fi
    if [ -z "$best_cli" ] || [ "$run" -lt "$best_cli" ]; then best_cli=$run; fi
    if [ -z "$best_plain" ] || [ "$plain" -lt "$best_plain" ]; then best_plain=$plain; fi
done
awk -v b="$best_bare" -v c="$best_cli" -v n="$count" \
    'BEGIN { printf "best of rounds, %d files: bare %d ms, quorvane-cli %d ms, ratio %.2f\n", n, b, c, c / b }'
awk -v p="$best_plain" -v c="$best_cli" -v n="$count" \
    'BEGIN { printf "journal cost, %d files: --no-journal %d ms, journaled %d ms, %+.1f %%\n", n, p, c, (c - p) * 100 / p }'
