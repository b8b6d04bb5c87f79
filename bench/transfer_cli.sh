#!/bin/sh
# The radio commands of vrm650t-cli against the simulated radio, timed as a
# user's shell sees them:
#  - `radio read` and `radio write` at 9600 baud next to the wire time plus
#    the protocol's mandated delays (bench_transfer_cli counts the bytes);
#  - `radio read` at full speed: its process time (user + system CPU).
#
#   bench/transfer_cli.sh [BUILD_FOLDER]      (default: build)
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$here/$build ;; esac
cli=$build/bin/vrm650t-cli
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VRM650T_SIM_STATE=$work/radio.state
export LD_LIBRARY_PATH=$build/sim
unset VRM650T_SIM_FAULTS VRM650T_SIM_BAUD
lang="--lang $here/lang/vrm650t_en.lng"

# The bytes of a read (64 blocks) and a write (63 blocks) on the wire, both
# ways, and the delays the protocol mandates.
read_bytes=1534 write_bytes=1388
read_delays=50 write_delays=300

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
timed() {  # prints the command's wall time in ms
    start=$(now_ms)
    "$@" </dev/null >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    echo $(( $(now_ms) - start ))
}

"$cli" $lang radio read --yes -o "$work/radio.dat" >/dev/null 2>&1

for baud in 9600; do
    export VRM650T_SIM_BAUD=$baud
    r=$(timed "$cli" $lang radio read --yes -o "$work/radio.dat")
    w=$(timed "$cli" $lang radio write --no-backup --no-verify --no-log "$work/radio.dat")
    unset VRM650T_SIM_BAUD
    awk -v r="$r" -v w="$w" -v b="$baud" -v rb=$read_bytes -v wb=$write_bytes -v rd=$read_delays -v wd=$write_delays '
        BEGIN {
            er = rb * 10000 / b + rd; ew = wb * 10000 / b + wd
            printf "radio read  at %d baud: %5d ms, wire + delays %7.1f ms (%+.1f %%)\n", b, r, er, 100 * (r - er) / er
            printf "radio write at %d baud: %5d ms, wire + delays %7.1f ms (%+.1f %%)\n", b, w, ew, 100 * (w - ew) / ew
        }'
done

# Process time of a full-speed read: the shell's own accounting of the child.
cpu=$( { /usr/bin/env bash -c "TIMEFORMAT='%U %S'; time \"$cli\" $lang radio read --yes -o \"$work/radio.dat\" >/dev/null 2>&1"; } 2>&1 )
echo "$cpu" | awk '{ printf "radio read at full speed: %.0f ms of process time (user %.3f s, system %.3f s)\n", ($1 + $2) * 1000, $1, $2 }'

# The benchmark's figures (three runs each, the bytes counted in process).
if [ -x "$build/bin/bench_transfer_cli" ]; then
    "$build/bin/bench_transfer_cli" --benchmark_counters_tabular=true 2>/dev/null
fi
