#!/usr/bin/env bash
# The benchmark tables (see tools/bench.py): installs what is missing, then builds and measures.
# Takes about ten minutes and a few GB of disk under build/bench. ./tools/bench.sh [--only PART]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$CRADLE_ROOT"
CRADLE_PACKAGES+=(nsis:makensis)
cradle_install_packages
exec /usr/bin/python3 tools/bench.py "$@"
