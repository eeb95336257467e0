#!/bin/sh
# Makes the pictures of the built-in help again, from the program itself: the
# test HelpPicturesTest of the app suite starts the real windows offscreen,
# opens the sample files of samples/, pulls menus down and shows dialogs, and
# writes each picture into app/help/obrazky; ImageMagick then reduces them to
# 64 colours so that they travel compactly with the program. The pictures
# follow the fonts of the machine (DejaVu Sans from fonts-dejavu-core here).
#
#   app/help/make_pictures.sh [BUILD_FOLDER]      (default: build-test)
#
# Run it from the repository after building orv_app_tests; rebuild then, so
# that the new pictures are compiled into the program.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-test}
out="$here/obrazky"
mkdir -p "$out"
status=0
QT_QPA_PLATFORM=offscreen ORV_HELP_PICTURES="$out" \
  "$build/tests/orv_app_tests" --gtest_filter='HelpPicturesTest.*' || status=$?
for picture in "$out"/*.png; do
  convert "$picture" +dither -colors 64 -define png:compression-level=9 -strip "$picture"
done
exit $status
