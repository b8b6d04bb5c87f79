#!/bin/sh
# Runs one fuzz target for SECONDS: first every input of its corpus in the
# tree (the regression cases among them), then new ones. New corpus entries
# go to NEW (a folder outside the tree), what breaks to NEW/../findings.
# Further arguments go to libFuzzer as they are.
#
#   fuzz/run.sh build-fuzz/fuzz/fuzz_data_file 60 ~/.cache/vrm650t-fuzz/data_file
set -eu
[ $# -ge 3 ] || { echo "usage: $0 TARGET SECONDS NEW [libFuzzer options]" >&2; exit 64; }
target=$1
seconds=$2
new=$3
shift 3
name=$(basename "$target")
name=${name#fuzz_}
here=$(cd "$(dirname "$0")" && pwd)
findings=$(dirname "$new")/findings
mkdir -p "$new" "$findings"
dict=""
[ -f "$here/dict/$name.dict" ] && dict="-dict=$here/dict/$name.dict"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# An input counts as a hang after 30 s: every input takes well under a
# second, but on a loaded machine the sanitizers' memory bookkeeping alone
# has taken over 10 s for one.
# shellcheck disable=SC2086
exec "$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$name-" $dict "$@" "$new" "$here/corpus/$name"
