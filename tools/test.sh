#!/usr/bin/env bash
# The test command: installs what is missing, builds the shipped 32-bit program and the 64-bit
# test build, runs every test, and fuzzes the byte-level routines natively under AddressSanitizer
# and UndefinedBehaviorSanitizer (CRADLE_FUZZ_SECONDS per target, 30 by default). Run it as root
# on a fresh Debian 12 machine, or as a user with sudo, from the top of a clone: ./tools/test.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$CRADLE_ROOT"

cradle_install_packages

cmake --preset release
cmake --build --preset release
cmake --preset wine64
cmake --build --preset wine64
cmake -S tests/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCRADLE_FUZZ_SECONDS="${CRADLE_FUZZ_SECONDS:-30}"
cmake --build build/fuzz -j2

status=0
ctest --preset release || status=1
(cd build/fuzz && ctest --output-on-failure) || status=1
ctest --preset wine64 || status=1
exit $status
