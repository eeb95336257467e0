#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# ORV_SANITIZE=1 ./test.sh builds and runs it under AddressSanitizer + UBSan.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ORV_WITH_EXPORT_CHECKS=1 source "$here/tools/install_deps.sh"
dir="$here/build-test"
san=OFF
if [ "${ORV_SANITIZE:-0}" = 1 ]; then dir="$here/build-asan"; san=ON; fi
cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE=$san >/dev/null
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
cd "$dir"
ctest --output-on-failure -j2 --timeout 300
