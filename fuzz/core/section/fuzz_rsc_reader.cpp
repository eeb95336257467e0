// Any bytes as a colour scale file, read over a scale that already holds
// entries: reading never crashes nor writes outside the table, a read scale
// has its end within the arrays, and the lookup, the legend and the writer
// work on whatever it left.
#include <cstdio>
#include <cstdlib>

#include "base/zeroed_block.h"
#include "core/section/colour_scale.h"
#include "core/section/colour_scale_file.h"
#include "core/section/section_database.h"
#include "core/section/section_layout.h"
#include "fuzz/support/fuzz_file.h"
#include "ui/null_canvas.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".rsc");
  static orv::ColourScale scale{};
  static orv::ZeroedBlock<orv::SectionProfile> profile;
  static bool prepared = false;
  if (!prepared) {
    for (int k = 0; k < orv::MaxColourEntries; ++k)
      scale.colResBound[k] = 10 * k, scale.colResColor[k] = k;
    scale.colResCount = 7;
    profile->mxindex_bodu = 1;
    profile->points[0].MDLmx = 2;
    profile->points[0].layerRho[0] = 5, profile->points[0].layerRho[1] = -300;
    profile->points[0].layerRho[2] = 2000;
    profile->points[1].layerRho[0] = 0;
    prepared = true;
  }
  const int before = scale.colResCount;
  const orv::ColourScaleReadResult r = orv::readColourScale(scale, path.c_str());
  check(r.code == 1 || r.code == -1);
  if (r.code == 1) {
    check(scale.colResCount >= 0 && scale.colResCount < orv::MaxColourEntries);
  } else {
    check(scale.colResCount == before);
  }
  for (float rho : {0.0f, 5.0f, -300.0f, 1e9f}) (void)orv::resistivityColour(scale, rho);
  orv::SectionLayout layout;
  layout.sectionImageWidth = 400, layout.sectionImageHeight = 300;
  layout.sectionTextHeight = 13, layout.sectionTextWidth = 7;
  ui::NullCanvas canvas;
  orv::drawColourLegend(scale, *profile, layout, canvas);
  std::FILE* out = std::fopen("/dev/null", "wb");
  if (out) {
    check(orv::writeColourScale(scale, out, path.path()));
    std::fclose(out);
  }
  return 0;
}
