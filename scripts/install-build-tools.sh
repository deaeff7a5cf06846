#!/usr/bin/env bash
# Installs with apt-get whatever building Tarvolin needs and this machine
# lacks: cmake, a C++ compiler, make and CLI11, and with --tests also
# GoogleTest, the stockfish (UCI), phalanx and hoichess (xboard) engines,
# matplotlib for /usr/bin/python3 and rsvg-convert (tarvolin-plot's tests),
# chromium with its driver and selenium (the published page in a browser),
# the mingw-w64 cross compiler and wine (the Windows build and its tests).
# Says what it installs; installs nothing when everything is there.
#
#   scripts/install-build-tools.sh [--tests]
set -euo pipefail

usage() {
  echo "usage: scripts/install-build-tools.sh [--tests]"
  echo
  echo "Installs the missing ones of cmake, g++, make and CLI11 (libcli11-dev) with"
  echo "apt-get (as root, or through sudo), saying what it installs."
  echo
  echo "  --tests     also GoogleTest (libgtest-dev) and the engines stockfish (UCI),"
  echo "              phalanx and hoichess (xboard), which only the tests need, and"
  echo "              python3-matplotlib and librsvg2-bin for tarvolin-plot and its tests,"
  echo "              chromium, chromium-driver and python3-selenium for tarvolin-publish's,"
  echo "              g++-mingw-w64-x86-64-posix, wine64 and wine to cross-build the Windows"
  echo "              programs and run their tests"
  echo "  -h, --help  print this help and exit"
}

case "${1:-}" in
  "") tests=0 ;;
  --tests) tests=1 ;;
  -h | --help) usage; exit 0 ;;
  *) echo "install-build-tools.sh: unknown option '$1'" >&2; usage >&2; exit 2 ;;
esac

have_gtest() {
  local config
  for config in /usr/lib/cmake/GTest/GTestConfig.cmake /usr/lib/*/cmake/GTest/GTestConfig.cmake \
    /usr/local/lib/cmake/GTest/GTestConfig.cmake /usr/local/lib/*/cmake/GTest/GTestConfig.cmake; do
    [ -f "$config" ] && return 0
  done
  return 1
}

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v c++ >/dev/null || command -v g++ >/dev/null || need+=(g++)
command -v make >/dev/null || need+=(make)
[ -f /usr/include/CLI/CLI.hpp ] || [ -f /usr/local/include/CLI/CLI.hpp ] || need+=(libcli11-dev)
if [ $tests = 1 ] && ! have_gtest; then need+=(libgtest-dev); fi
if [ $tests = 1 ] && [ ! -x /usr/games/stockfish ] && ! command -v stockfish >/dev/null; then
  need+=(stockfish)
fi
for engine in phalanx hoichess; do
  if [ $tests = 1 ] && [ ! -x "/usr/games/$engine" ] && ! command -v "$engine" >/dev/null; then
    need+=("$engine")
  fi
done
if [ $tests = 1 ] && ! /usr/bin/python3 -c 'import matplotlib' 2>/dev/null; then
  need+=(python3-matplotlib)
fi
if [ $tests = 1 ] && ! command -v rsvg-convert >/dev/null; then need+=(librsvg2-bin); fi
if [ $tests = 1 ] && [ ! -x /usr/bin/chromium ]; then need+=(chromium); fi
if [ $tests = 1 ] && [ ! -x /usr/bin/chromedriver ]; then need+=(chromium-driver); fi
if [ $tests = 1 ] && ! /usr/bin/python3 -c 'import selenium' 2>/dev/null; then
  need+=(python3-selenium)
fi
# The Windows tests build GoogleTest from these sources.
if [ $tests = 1 ] && [ ! -f /usr/src/googletest/CMakeLists.txt ]; then need+=(googletest); fi
if [ $tests = 1 ] && ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  need+=(g++-mingw-w64-x86-64-posix)
fi
# wine64 and the wine command; without recommends, so that neither the
# 32-bit half nor its multiarch set-up comes along, which 64-bit programs
# do not need.
if [ $tests = 1 ] && [ ! -x /usr/lib/wine/wine64 ]; then need+=(wine64); fi
if [ $tests = 1 ] && ! command -v wine >/dev/null; then need+=(wine); fi
[ ${#need[@]} -eq 0 ] && exit 0

echo "== installing what the build needs: ${need[*]}"
if ! command -v apt-get >/dev/null; then
  echo "No apt-get here: please install ${need[*]} yourself." >&2
  exit 1
fi
as_root=()
if [ "$(id -u)" != 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Installing ${need[*]} needs root: run this as root or install them yourself." >&2
    exit 1
  fi
  as_root=(sudo)
fi
${as_root[@]+"${as_root[@]}"} env DEBIAN_FRONTEND=noninteractive apt-get update -q
${as_root[@]+"${as_root[@]}"} env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${need[@]}"
