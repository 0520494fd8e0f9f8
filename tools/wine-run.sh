#!/usr/bin/env bash
# Runs one Windows program under Wine for the tests (CTest's cross-compiling emulator).
# Environment: WINEPREFIX (required), CRADLE_WINE (the loader), LC_ALL (default zh_CN.UTF-8,
# ANSI code page 936), CRADLE_PTY=1 to run under a pseudo-terminal, where Wine gives the program
# a real console.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
cradle_wine_env
export LC_ALL=${LC_ALL:-zh_CN.UTF-8}
loader=${CRADLE_WINE:-wine}
if [[ ${CRADLE_PTY:-0} == 1 ]]; then
  # Wine redraws the console on the terminal with cursor and colour sequences; keep the log
  # readable by turning them back into plain text.
  script -qefc "$(printf '%q ' "$loader" "$@")" /dev/null </dev/null |
    sed -E $'s/\x1b\\[K\x1b\\[1C/ /g; s/\x1b\\[[0-9;?]*[A-Za-z]//g'
  exit "${PIPESTATUS[0]}"
fi
exec "$loader" "$@"
