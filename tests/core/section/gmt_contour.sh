#!/bin/sh
# Grids and contours the model grid and the pseudo-section grid of the
# five-sounding fixture with GMT, as a user would in a contouring program:
# the files must read as one header line and x z value rows.
# Usage: gmt_contour.sh <orv_core_section_tests> <gmt> <work folder>
set -eu
tests=$1
gmt=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
cd "$work"
ORV_GMT_GRID_DIR="$work" "$tests" --gtest_filter='GmtGridFiles.*' > writer.log 2>&1 ||
  { cat writer.log; exit 1; }
for grid in model pseudo; do
  test -s "$grid.DAT" || { echo "$grid.DAT not written"; exit 1; }
  # No break after the last point: the line breaks count the rows.
  rows=$(wc -l < "$grid.DAT" | tr -d '[:space:]')
  region=$("$gmt" info -h1 -I5 "$grid.DAT" 2> "$grid.log")
  "$gmt" blockmean "$grid.DAT" -h1 "$region" -I5 2>> "$grid.log" |
    "$gmt" surface "$region" -I5 -G"$grid.nc" 2>> "$grid.log"
  "$gmt" grdcontour "$grid.nc" -C20 -D"$grid.contours.txt" 2>> "$grid.log"
  cat "$grid.log"
  if grep -q "ERROR" "$grid.log"; then exit 1; fi
  # Every row after the header is a point: nothing was dropped as unreadable.
  points=$("$gmt" info -h1 -Fi -o2 "$grid.DAT" 2>> "$grid.log" | tr -d '[:space:]')
  [ "$points" -eq "$rows" ] || { echo "$grid: $points points of $rows rows"; exit 1; }
  test -s "$grid.contours.txt" || { echo "$grid: no contours"; exit 1; }
done
echo "contoured model and pseudo-section grids"
