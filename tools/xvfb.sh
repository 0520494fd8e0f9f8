#!/usr/bin/env bash
# CTest fixture: `xvfb.sh up DIR` starts an X server on a free display for the tests and writes
# its number to DIR/display; `xvfb.sh down DIR` stops it.
set -euo pipefail
dir=${2:?usage: xvfb.sh up|down DIR}
case "$1" in
  up)
    mkdir -p "$dir"
    [[ -f $dir/pid ]] && kill "$(cat "$dir/pid")" 2>/dev/null || true
    for n in $(seq 90 199); do
      [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
      # The server outlives this script: it must not hold CTest's output pipe open.
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$dir/xvfb.log" 2>&1 &
      echo $! >"$dir/pid"
      for _ in $(seq 50); do
        [[ -e /tmp/.X11-unix/X$n ]] && { echo ":$n" >"$dir/display"; exit 0; }
        kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
        sleep 0.1
      done
    done
    echo "no X server could be started; see $dir/xvfb.log" >&2
    exit 1
    ;;
  down)
    [[ -f $dir/pid ]] && kill "$(cat "$dir/pid")" 2>/dev/null || true
    rm -f "$dir/pid" "$dir/display"
    ;;
  *) echo "usage: xvfb.sh up|down DIR" >&2; exit 2 ;;
esac
