// The preparation and the line searches as plain scans over every line,
// vertex, sounding and interface, with no index: the reference the indexed
// ones must agree with bit for bit.
#pragma once

#include "core/section/layer_colouring.h"

namespace orv::testing {

void scanningPrepare(SectionProfile& profile, SurfaceLine& surface, const SectionLayout& layout,
                     int exaggeration);
LineFound scanningFindRight(const BoundaryLines& lines, int exaggeration, double x, double z,
                            double xl, double d, LineChoice choice);
LineFound scanningFindLeft(const BoundaryLines& lines, int exaggeration, double x, double z,
                           double xl, double d, LineChoice choice);
LineInterface scanningInterfaceAt(const BoundaryLines& lines, int exaggeration, int line, int c,
                                  double xc, double d);

inline const LineSearches ScanningSearches{scanningPrepare, scanningFindRight, scanningFindLeft,
                                           scanningInterfaceAt};

}  // namespace orv::testing
