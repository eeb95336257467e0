#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts ORV in the
# current folder (the folder that holds orvwin.ini, orv.ini and orvcolres.rsc).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/tools/install_deps.sh"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF >/dev/null
cmake --build "$here/build-release" --target orv
if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "ORV needs a desktop session (or run: xvfb-run ./run.sh); orv-cli ($here/build-release/cli/orv-cli) works without one." >&2
  cmake --build "$here/build-release" --target orv-cli >/dev/null
  exit 1
fi
exec "$here/build-release/orv" "$@"
