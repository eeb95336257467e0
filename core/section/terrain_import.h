// Bringing the points of the current profile onto a surveyed terrain profile:
// a text file ("x tab z") of a one-word title, the number of break points and
// that many pairs of horizontal chainage and elevation in ascending chainage,
// all items separated by any white space. The points either keep their
// chainages and take the terrain's elevation, or are placed on the terrain by
// their chainage measured along the surface.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/section/section_database.h"

namespace orv {

enum class TerrainReadStatus {
  Read,             // the breaks stand in the profile
  NoTitleAndCount,  // the first items are not a title and a count
  TooManyBreaks,    // more than MaxPointsPerProfile break points
  BadBreak,         // a pair ran short or does not convert
};

struct TerrainRead {
  TerrainReadStatus status = TerrainReadStatus::NoTitleAndCount;
  std::string title;  // Windows-1250 bytes as in the file
  int count = 0;      // the count the file announces
};

// Reads the terrain file's text. Only a complete read changes the profile:
// its terrainBreakChainage/Elevation and terrainBreakCount (the index of the
// last break).
TerrainRead readTerrainBreaks(std::string_view text, SectionProfile& profile);

// The terrain's elevation at horizontal chainage x, m, and the index of the
// first break at or beyond x; no elevation before the first break or beyond
// the last one.
struct TerrainAt {
  std::optional<float> elevation;
  int breakIndex = 0;  // the number of breaks when x lies beyond the last one
};
TerrainAt terrainElevationAt(const SectionProfile& profile, double x);

// Every point's pointZ from the terrain at its profileChainage.
void applyTerrainHeights(SectionProfile& profile);
// Every point placed on the terrain by its surfaceChainage, measured along the
// surface from the point of the smallest surface chainage, which keeps its
// chainage. Points all at surface chainage 0 take their horizontal chainages
// as surface chainages first.
void applyTerrainAlongSurface(SectionProfile& profile);

}  // namespace orv
