#!/bin/sh
# Runs tarvolin on the example suite in a scratch folder, answering its two
# questions (file name "suite", start Elo 2600) and the final key press.
# Usage: run-example.sh <tarvolin binary> <examples folder> <work folder>
set -e
binary=$1
examples=$2
work=$3
mkdir -p "$work"
cp "$examples/suite.pgn" "$examples/Offset.pgn" "$work/"
cd "$work"
printf 'suite\n2600\n\n' | "$binary"
echo
echo "Reports written to $work:"
ls "$work"/*.dat
