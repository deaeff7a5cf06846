#!/usr/bin/env bash
# Builds Tarvolin with its tests in build/ and runs every test, after
# installing whatever is missing for that (see install-build-tools.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
trap 'echo "== FAILED: $BASH_COMMAND" >&2' ERR

scripts/install-build-tools.sh --tests
cmake -S . -B build -DTARVOLIN_TESTS=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2 --no-tests=error

echo "== the Windows build: its tests under wine, its reports against Linux's, its zip"
windows_start=$SECONDS
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
tests/windows/compare_reports.py --linux build --windows build-windows --threads 1,2,3,8,16
cmake --build --preset windows --target package
echo "== the Windows stage took $((SECONDS - windows_start)) s"
echo "== all tests passed"
