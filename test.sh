#!/usr/bin/env bash
# Checks that the includes run down the layers (tools/check_layers), installs
# what is missing, builds ORV with its tests and runs the whole test suite
# (CTest):
#   ./test.sh                   built as for use, in build-test/
#   ORV_SANITIZE=1 ./test.sh    built with AddressSanitizer + UBSan, in build-asan/
#   ORV_SANITIZE=both ./test.sh the one, then the other
# The benchmarks are run by hand; ORV_BUILD_BENCH=1 compiles them too, in the
# build as for use.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

case "${ORV_SANITIZE:-0}" in
  0) builds=(plain) ;;
  1) builds=(sanitized) ;;
  both) builds=(plain sanitized) ;;
  *)
    echo "ORV: ORV_SANITIZE is 0, 1 or both, not '${ORV_SANITIZE}'." >&2
    exit 2
    ;;
esac
bench=OFF
[ "${ORV_BUILD_BENCH:-0}" = 1 ] && bench=ON

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

for b in "${builds[@]}"; do
  case "$b" in
    plain) build_and_test "$here/build-test" OFF "$bench" ;;
    sanitized) build_and_test "$here/build-asan" ON OFF ;;
  esac
done
