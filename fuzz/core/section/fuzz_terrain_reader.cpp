// Any bytes as a terrain file ("x tab z"): only a complete read changes the
// profile and then within its arrays, and bringing points onto the terrain
// either leaves a point as it was or puts it between the terrain's extremes.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "base/zeroed_block.h"
#include "core/section/section_database.h"
#include "core/section/terrain_import.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

constexpr int Points = 7;
// Before, between and beyond typical breaks, with two of them at one chainage.
constexpr float kChainage[Points] = {-10.0f, 0.0f, 5.0f, 50.0f, 50.0f, 100.0f, 250.0f};

struct Range {
  float low = INFINITY, high = -INFINITY;
  bool finite = true;
  void add(float v) {
    if (!std::isfinite(v) || std::fabs(v) > 1e6f) finite = false;
    low = std::min(low, v), high = std::max(high, v);
  }
  bool holds(float v) const { return v >= low && v <= high; }
};

void placePoints(orv::SectionProfile& p, bool alongSurface) {
  p.mxindex_bodu = Points - 1;
  for (int i = 0; i < Points; ++i) {
    orv::SectionPoint& pt = p.points[i];
    pt.profileChainage = kChainage[i];
    // All at 0 first: the horizontal chainages are taken as surface ones.
    pt.surfaceChainage = alongSurface ? 0.0f : kChainage[Points - 1 - i] + 3.0f;
    pt.pointZ = -12345.0f;
  }
}

// Every point is as placePoints left it or has its moved values between the
// extremes of the breaks.
void checkPoints(const orv::SectionProfile& p, const Range& x, const Range& z, bool moves) {
  for (int i = 0; i < Points; ++i) {
    const orv::SectionPoint& pt = p.points[i];
    check(pt.pointZ == -12345.0f || z.holds(pt.pointZ));
    if (moves)
      check(pt.profileChainage == kChainage[i] || x.holds(pt.profileChainage));
    else
      check(pt.profileChainage == kChainage[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orv::ZeroedBlock<orv::SectionProfile> profile;
  orv::SectionProfile& p = *profile;
  constexpr int Untouched = -77;
  p.terrainBreakCount = Untouched;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const orv::TerrainRead r = orv::readTerrainBreaks(text, p);
  check(r.title.size() < 200);
  if (r.status != orv::TerrainReadStatus::Read) {
    check(p.terrainBreakCount == Untouched);
    check(r.status != orv::TerrainReadStatus::TooManyBreaks || r.count > orv::MaxPointsPerProfile);
    return 0;
  }
  check(r.count >= 0 && r.count <= orv::MaxPointsPerProfile);
  check(p.terrainBreakCount == r.count - 1);

  Range x, z;
  for (int k = 0; k < r.count; ++k) {
    x.add(p.terrainBreakChainage[k]);
    z.add(p.terrainBreakElevation[k]);
  }
  placePoints(p, false);
  orv::applyTerrainHeights(p);
  if (x.finite && z.finite) checkPoints(p, x, z, false);
  for (bool fromZero : {false, true}) {
    placePoints(p, fromZero);
    orv::applyTerrainAlongSurface(p);
    if (x.finite && z.finite) checkPoints(p, x, z, true);
  }
  return 0;
}
