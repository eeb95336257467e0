#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts ORV in the
# current folder (the folder that holds orvwin.ini, orv.ini and orvcolres.rsc).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/tools/install_deps.sh"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF >/dev/null
cmake --build "$here/build-release" --target orv
exec "$here/build-release/orv" "$@"
