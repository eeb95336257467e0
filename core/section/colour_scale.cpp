#include "core/section/colour_scale.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/c_format.h"
#include "core/section/section_database.h"
#include "core/section/section_layout.h"

namespace orv {
namespace {

// The index of the entry that ends the table, as far as the arrays reach: a
// count from a damaged file or an unfinished edit never leads a loop past
// entry 499, and a negative one leaves only entry 0.
int lastEntryOf(const ColourScale& scale) {
  return std::clamp(scale.colResCount, 0, MaxColourEntries - 1);
}

// Start values of the range search: every real layer lies inside them, so a
// smallest value still at its start means the profile has no layer at all.
constexpr double NoSmallest = 1e8;
constexpr double NoLargest = -9999999.0;

struct RhoRange {
  double smallest = NoSmallest;
  double largest = NoLargest;
};

// |rho| over the layers 0..MDLmx of the points 0..mxindex_bodu.
RhoRange layerRange(const SectionProfile& profile) {
  RhoRange r;
  const int lastPoint = std::min(profile.mxindex_bodu, MaxPointsPerProfile - 1);
  for (int b = 0; b <= lastPoint; ++b) {
    const SectionPoint& pt = profile.points[b];
    const int lastLayer = std::min(pt.MDLmx, MaxLayers - 1);
    for (int i = 0; i <= lastLayer; ++i) {
      const double a = std::fabs(static_cast<double>(pt.layerRho[i]));
      r.smallest = std::min(r.smallest, a);
      r.largest = std::max(r.largest, a);
    }
  }
  return r;
}

bool within(const RhoRange& r, int32_t bound) {
  const double b = static_cast<double>(bound);
  return r.smallest <= b && b <= r.largest;
}

// The built-in scale: upper boundaries in ohm.m and the colours of the
// intervals they end (0x00BBGGRR), evenly spaced on the logarithm.
struct BuiltInInterval {
  int32_t upper;
  ui::Colour colour;
};
constexpr BuiltInInterval BuiltInScale[] = {
    {1, 0x800000},      // navy
    {2, 0xC80000},      // dark blue
    {5, 0xFF4000},      // blue
    {10, 0xFF9000},     // light blue
    {20, 0xFFD000},     // sky blue
    {50, 0xA0C800},     // turquoise
    {100, 0x40B000},    // green
    {200, 0x00D080},    // yellow-green
    {500, 0x00E8FF},    // yellow
    {1000, 0x00A0FF},   // orange
    {2000, 0x0060FF},   // dark orange
    {5000, 0x0000E8},   // red
    {10000, 0x0000A0},  // dark red
};

}  // namespace

void useBuiltInColourScale(ColourScale& scale) {
  // Entry 0 only bounds the first interval; its colour shows in a legend of
  // a profile with a layer of 0 ohm.m, where the first interval's is right.
  scale.colResBound[0] = 0;
  scale.colResColor[0] = BuiltInScale[0].colour;
  int k = 1;
  for (const BuiltInInterval& i : BuiltInScale) {
    scale.colResBound[k] = i.upper;
    scale.colResColor[k] = i.colour;
    ++k;
  }
  scale.colResCount = k;
  scale.colResBound[k] = ColourTableEnd;
  scale.colResColor[k] = 0xFFFFFF;
}

std::optional<ui::Colour> resistivityColour(const ColourScale& scale, float rho) {
  // The sign marks a fixed parameter for the inversion; the colour belongs to
  // the magnitude.
  const double a = std::fabs(static_cast<double>(rho));
  const int last = lastEntryOf(scale);
  std::optional<ui::Colour> colour;
  // No early exit: the last match wins, which gives a shared boundary to the
  // interval above it.
  for (int k = 1; k <= last; ++k) {
    if (static_cast<double>(scale.colResBound[k - 1]) <= a &&
        a <= static_cast<double>(scale.colResBound[k]))
      colour = scale.colResColor[k];
  }
  return colour;
}

void drawColourLegend(const ColourScale& scale, const SectionProfile& profile,
                      const SectionLayout& layout, ui::Canvas& canvas) {
  const RhoRange range = layerRange(profile);
  if (!(range.smallest < NoSmallest)) return;

  canvas.setPenWidth(0);
  const int last = lastEntryOf(scale);
  int count = 0;
  for (int k = 0; k <= last; ++k)
    if (within(range, scale.colResBound[k])) ++count;
  // A range that meets one boundary or none still gets rows of a useful
  // height: as many as the table has entries.
  if (count < 2) count = last + 1;

  const int th = layout.sectionTextHeight;
  const int tw = layout.sectionTextWidth;
  const int h = static_cast<int>((layout.sectionImageHeight - 1.5 * th) / count);
  const int x0 = layout.sectionImageWidth + 5 * tw;
  const int x1 = x0 + 3 * tw;
  int y = static_cast<int>(1.5 * th);

  for (int k = 0; k <= last; ++k) {
    if (!within(range, scale.colResBound[k])) continue;
    const ui::Colour c = scale.colResColor[k];
    canvas.setPenMode(ui::PenMode::Copy);
    canvas.setPenColour(c);
    canvas.setBrushColour(c);
    canvas.setBrushStyle(ui::BrushStyle::Solid);
    canvas.fillRect(x0, y, x1, y + h);
    y += h;
    canvas.setBrushStyle(ui::BrushStyle::Clear);
    canvas.setTextTransparent(true);
    // The label stands at the lower edge of its box: the boundary that ends
    // the box's interval.
    canvas.textOut(x1 + tw / 4, y - th / 2 - 2,
                   "---" + cformat("%.0f", static_cast<double>(scale.colResBound[k])) + " ohm.m");
  }
  canvas.setBrushStyle(ui::BrushStyle::Clear);
}

}  // namespace orv
