#!/usr/bin/env bash
# The run command: installs what is missing, builds, and runs CradlePatch.exe under Wine in this
# terminal, so you see what a player on Windows sees. ./tools/demo.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$CRADLE_ROOT"

cradle_install_packages
cmake --preset wine64 >/dev/null
cmake --build --preset wine64 --target CradlePatch >/dev/null

loader=$(cradle_wine_loader x86_64)
prefix=$CRADLE_ROOT/build/demo/wineprefix
echo "== preparing the Wine prefix $prefix"
cradle_make_prefix "$prefix" "$loader" >/dev/null 2>&1
cradle_wine_env
echo "== running CradlePatch.exe (64-bit build of the same sources; see README)"
WINEPREFIX=$prefix LC_ALL=zh_CN.UTF-8 "$loader" build/wine64/CradlePatch.exe
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
