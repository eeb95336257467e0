#include "core/section/terrain_import.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "core/section/boundary_lines.h"

namespace orv {
namespace {

constexpr const char* NothingChosen = "Nevybral jste žádný soubor";
constexpr const char* CannotOpen = "Cannot open input file.txt or ter";
constexpr const char* NoTitleAndCount = "Nejsou dvě data na prvním řádku: akce-pf, ,pocetlomu";
constexpr const char* TooManyBreaks = "Příliš mnoho lomů terénu";
constexpr const char* BadBreak = "Nečte body lomu terénu!";

int breakCount(const SectionProfile& p) {
  return std::clamp(p.terrainBreakCount + 1, 0, MaxPointsPerProfile);
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::path(path), ec);
}

// Runs the whole reading of a command; false when it ended without breaks.
bool readTerrainFile(SectionSession& session, SectionProfile& profile) {
  if (session.showIfNeverShown) session.showIfNeverShown();
  std::string path;
  for (;;) {
    const std::optional<std::string> chosen = session.dialogs.openFile(ui::FileDialogRequest{});
    if (!chosen || chosen->empty()) {
      session.dialogs.message(NothingChosen);
      return false;
    }
    path = *chosen;
    if (fileExists(path)) break;
    session.dialogs.message("Soubor" + path + "nexistuje. Zvolte jiný název!");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    session.dialogs.message(CannotOpen);
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  const TerrainRead read = readTerrainBreaks(text, profile);
  if (read.status == TerrainReadStatus::NoTitleAndCount) {
    session.dialogs.message(NoTitleAndCount);
    return false;
  }
  session.dialogs.message("nadpis souboru lomů terénu: " + cp1250ToUtf8(read.title) +
                          " počet lomů terénu je " + cformat("%d", read.count));
  if (read.status == TerrainReadStatus::TooManyBreaks) {
    session.dialogs.message(TooManyBreaks);
    return false;
  }
  if (read.status == TerrainReadStatus::BadBreak) {
    session.dialogs.message(BadBreak);
    return false;
  }
  return true;
}

SectionProfile* currentProfile(SectionDatabase& db) {
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return nullptr;
  return &db.profiles[db.currentProfile];
}

template <class Apply>
void importTerrain(SectionSession& session, Apply apply) {
  SectionProfile* p = currentProfile(session.db);
  if (!p) return;
  if (!readTerrainFile(session, *p)) return;
  apply(*p);
  if (session.redraw) session.redraw();
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

void importTerrainAlongSurface(SectionSession& session) {
  importTerrain(session, applyTerrainAlongSurface);
}

void importTerrainHeights(SectionSession& session) {
  importTerrain(session, applyTerrainHeights);
}

}  // namespace orv
