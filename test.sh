#!/usr/bin/env bash
# Checks that the includes run down the layers (tools/check_layers), installs
# what is missing, builds everything and runs the whole test suite twice: as
# built for use, then built with AddressSanitizer + UBSan (the benchmarks left
# out there).
# ORV_SANITIZE=0 ./test.sh runs only the first, ORV_SANITIZE=1 ./test.sh only
# the second.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/check_layers"
ORV_WITH_EXPORT_CHECKS=1 source "$here/tools/install_deps.sh"
export QT_QPA_PLATFORM=offscreen

# build_and_test DIR SANITIZE BENCH
build_and_test() {
  local dir="$1" san="$2" bench="$3" started=$SECONDS
  cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE="$san" \
        -DORV_BUILD_BENCH="$bench" >/dev/null
  cmake --build "$dir"
  (cd "$dir" && ctest --output-on-failure -j2 --timeout 600)
  echo "ORV: suite with sanitizers $san passed in $((SECONDS - started)) s"
}

case "${ORV_SANITIZE:-both}" in
  0) build_and_test "$here/build-test" OFF ON ;;
  1) build_and_test "$here/build-asan" ON OFF ;;
  *)
    build_and_test "$here/build-test" OFF ON
    build_and_test "$here/build-asan" ON OFF
    ;;
esac
