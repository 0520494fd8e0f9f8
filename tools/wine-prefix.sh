#!/usr/bin/env bash
# CTest fixture: `wine-prefix.sh up PREFIX LOADER` makes the test prefix and keeps a wineserver
# running for it; `wine-prefix.sh down PREFIX` stops that server.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
case "${1:-}" in
  up)
    prefix=$(realpath -m "$2")
    cradle_wine_env
    cradle_make_prefix "$prefix" "$3"
    # A server left by an earlier run would refuse the new one.
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    # The server outlives this script: it must not hold CTest's output pipe open.
    WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1
    # The same for the prefix's own services, which the first program would start otherwise.
    WINEPREFIX=$prefix "$3" wineboot </dev/null >/dev/null 2>&1
    ;;
  down)
    WINEPREFIX=$(realpath -m "$2") wineserver -k 2>/dev/null || true
    ;;
  *) echo "usage: $0 up PREFIX LOADER | down PREFIX" >&2; exit 2 ;;
esac
