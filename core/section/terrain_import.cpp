#include "core/section/terrain_import.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/c_format.h"
#include "core/section/boundary_lines.h"

namespace orv {
namespace {

int breakCount(const SectionProfile& p) {
  return std::clamp(p.terrainBreakCount + 1, 0, MaxPointsPerProfile);
}

}  // namespace

TerrainRead readTerrainBreaks(std::string_view text, SectionProfile& profile) {
  TerrainRead result;
  // The reading stops at a NUL byte as the C library's text functions do.
  const std::string buffer(text.substr(0, text.find('\0')));
  const char* at = buffer.c_str();

  char title[200] = {};
  int count = 0;
  int used = 0;
  if (cscan(at, " %199s %i %n", title, &count, &used) != 2 || used == 0 || count < 0) return result;
  at += used;
  result.title = title;
  result.count = count;
  if (count > MaxPointsPerProfile) {
    result.status = TerrainReadStatus::TooManyBreaks;
    return result;
  }

  std::array<float, MaxPointsPerProfile> xs{}, zs{};
  for (int k = 0; k < count; ++k) {
    used = 0;
    if (cscan(at, " %f %f %n", &xs[k], &zs[k], &used) != 2 || used == 0) {
      result.status = TerrainReadStatus::BadBreak;
      return result;
    }
    at += used;
  }
  std::copy_n(xs.begin(), count, profile.terrainBreakChainage);
  std::copy_n(zs.begin(), count, profile.terrainBreakElevation);
  profile.terrainBreakCount = count - 1;
  result.status = TerrainReadStatus::Read;
  return result;
}

TerrainAt terrainElevationAt(const SectionProfile& profile, double x) {
  const int n = breakCount(profile);
  const float* bx = profile.terrainBreakChainage;
  const float* bz = profile.terrainBreakElevation;
  TerrainAt at;
  int k = 0;
  while (k < n && !(bx[k] >= x)) ++k;
  at.breakIndex = k;
  if (k == n) return at;
  if (bx[k] == x) {
    at.elevation = bz[k];
  } else if (k >= 1) {
    const double f = (x - bx[k - 1]) / (double(bx[k]) - bx[k - 1]);
    at.elevation = float(bz[k - 1] + f * (double(bz[k]) - bz[k - 1]));
  }
  return at;
}

void applyTerrainHeights(SectionProfile& profile) {
  for (int i = 0; i < profilePointCount(profile); ++i) {
    SectionPoint& pt = profile.points[i];
    if (const TerrainAt at = terrainElevationAt(profile, pt.profileChainage); at.elevation)
      pt.pointZ = *at.elevation;
  }
}

void applyTerrainAlongSurface(SectionProfile& profile) {
  const int points = profilePointCount(profile);
  if (points == 0) return;
  auto reference = [&] {
    int r = 0;
    float smallest = 1e8f;
    for (int i = 0; i < points; ++i)
      if (profile.points[i].surfaceChainage < smallest)
        smallest = profile.points[i].surfaceChainage, r = i;
    return r;
  };
  int r = reference();
  float largest = -1e8f;
  for (int i = 0; i < points; ++i) largest = std::max(largest, profile.points[i].surfaceChainage);
  if (largest == 0.0f && profile.points[r].surfaceChainage == 0.0f) {
    for (int i = 0; i < points; ++i)
      profile.points[i].surfaceChainage = profile.points[i].profileChainage;
    r = reference();
  }

  SectionPoint& ref = profile.points[r];
  const TerrainAt at = terrainElevationAt(profile, ref.profileChainage);
  if (at.elevation) ref.pointZ = *at.elevation;
  const int o = at.breakIndex;

  const int n = breakCount(profile);
  const float* bx = profile.terrainBreakChainage;
  const float* bz = profile.terrainBreakElevation;
  std::array<float, MaxPointsPerProfile> s{};
  float x = ref.profileChainage, z = ref.pointZ, along = ref.profileChainage;
  for (int k = o; k < n; ++k) {
    s[k] = along + float(std::hypot(double(bx[k]) - x, double(bz[k]) - z));
    x = bx[k], z = bz[k], along = s[k];
  }
  x = ref.profileChainage, z = ref.pointZ, along = ref.profileChainage;
  for (int k = o - 1; k >= 0; --k) {
    s[k] = along - float(std::hypot(double(x) - bx[k], double(bz[k]) - z));
    x = bx[k], z = bz[k], along = s[k];
  }

  for (int i = 0; i < points; ++i) {
    SectionPoint& pt = profile.points[i];
    int k = 0;
    while (k < n && !(s[k] >= pt.surfaceChainage)) ++k;
    if (k == n) continue;
    if (s[k] == pt.surfaceChainage) {
      pt.pointZ = bz[k];
      pt.profileChainage = bx[k];
    } else if (k >= 1) {
      const double f = (double(pt.surfaceChainage) - s[k - 1]) / (double(s[k]) - s[k - 1]);
      pt.pointZ = float(bz[k - 1] + f * (double(bz[k]) - bz[k - 1]));
      pt.profileChainage = float(bx[k - 1] + f * (double(bx[k]) - bx[k - 1]));
    }
  }
}

}  // namespace orv
