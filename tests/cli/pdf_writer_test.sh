#!/bin/sh
# The CLI starts without Qt and opens its PDF writer only for a PDF:
#  - vrm650t-cli needs no Qt library (readelf's NEEDED list, and ldd's whole
#    tree), while libvrm650t-pdf.so beside it does;
#  - a PDF is written through the writer;
#  - a CLI whose writer is missing says so, writes nothing and exits 3,
#    while its text print-out still works.
set -eu
cli=$1
writer=$2
lang=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

readelf -d "$cli" | grep NEEDED | grep -qi qt && fail "vrm650t-cli names a Qt library"
ldd "$cli" | grep -qi libQt && fail "vrm650t-cli loads Qt"
ldd "$writer" | grep -q libQt6Gui || fail "the PDF writer does not use Qt Gui"

"$cli" --lang "$lang" new --model 3 --yes -o "$scratch/r.dat" >/dev/null
"$cli" --lang "$lang" print --yes -o "$scratch/r.pdf" "$scratch/r.dat" >/dev/null
head -c 5 "$scratch/r.pdf" | grep -q '%PDF-' || fail "no PDF written"

mkdir "$scratch/alone"
cp "$cli" "$scratch/alone/vrm650t-cli"
status=0
"$scratch/alone/vrm650t-cli" --lang "$lang" print --yes -o "$scratch/x.pdf" "$scratch/r.dat" 2>"$scratch/err" || status=$?
[ "$status" -eq 3 ] || fail "exit status $status without the writer, not 3"
[ ! -e "$scratch/x.pdf" ] || fail "a file was written without the writer"
grep -q "libvrm650t-pdf.so could not be loaded" "$scratch/err" || fail "no message naming the writer: $(cat "$scratch/err")"
"$scratch/alone/vrm650t-cli" --lang "$lang" print --format txt --yes -o "$scratch/x.txt" "$scratch/r.dat" >/dev/null \
    || fail "the text print-out needs the writer"
echo "PASS"
