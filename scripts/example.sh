#!/usr/bin/env bash
# Builds Tarvolin in build/ and runs it on the example suite in examples/,
# answering its two questions; the reports land in build/example-run/.
# Installs cmake, a compiler and make first if they are missing; the tests
# and GoogleTest are not needed for this.
set -euo pipefail
cd "$(dirname "$0")/.."
trap 'echo "== FAILED: $BASH_COMMAND" >&2' ERR

scripts/install-build-tools.sh
cmake -S . -B build
cmake --build build -j2 --target example
