#include "core/section/section_database.h"

#include <algorithm>
#include <iterator>

namespace orv {
namespace {

template <class T, std::size_t N>
void copyArray(const T (&from)[N], T (&to)[N]) {
  std::copy(std::begin(from), std::end(from), std::begin(to));
}

// Everything of a profile but its points, its boundary-line vertices and its
// terrain breaks.
void copyProfileValues(const SectionProfile& from, SectionProfile& to) {
  copyArray(from.profileName, to.profileName);
  to.mxindex_bodu = from.mxindex_bodu;
  to.num_IPoken = from.num_IPoken;
  to.span_IPoken = from.span_IPoken;
  to.zpozdeni_IPoken = from.zpozdeni_IPoken;
  to.OnTime = from.OnTime;
  to.OffTime = from.OffTime;
  to.LeadTime = from.LeadTime;
  to.TailTime = from.TailTime;
  copyArray(from.ipWindowFrom, to.ipWindowFrom);
  copyArray(from.ipWindowTo, to.ipWindowTo);
  copyArray(from.ipWindowMid, to.ipWindowMid);
  to.scaleX = from.scaleX;
  to.scaleZ = from.scaleZ;
  to.HBV_pocet = from.HBV_pocet;
  copyArray(from.HBV_pocetBodu, to.HBV_pocetBodu);
  to.terrainBreakCount = from.terrainBreakCount;
}

}  // namespace

void setInitialDatabaseState(SectionDatabase& db) {
  // The block arrives zero-filled; only the few values that differ from zero
  // are written, so the untouched pages of the big arrays stay unmapped.
  db.mxindex_profilu = 0;
  db.currentProfile = 0;
  db.currentPoint = 0;
  db.profiles[0].mxindex_bodu = -1;
  db.profiles[0].HBV_pocet = 0;
  for (SectionProfile& p : db.profiles) {
    p.scaleX = InitialScaleX;
    p.scaleZ = InitialScaleZ;
  }
}

void takeOverDatabase(SectionDatabase& db, const SectionDatabase& read) {
  copyArray(read.countryName, db.countryName);
  copyArray(read.regionName, db.regionName);
  copyArray(read.localityName, db.localityName);
  db.mxindex_profilu = read.mxindex_profilu;
  // Every profile's own values, also above the last one in use: a profile
  // created later starts from those of a fresh database.
  for (int p = 0; p < MaxProfiles; ++p) {
    const SectionProfile& from = read.profiles[p];
    SectionProfile& to = db.profiles[p];
    copyProfileValues(from, to);
    if (p > read.mxindex_profilu) continue;
    const int points = std::clamp(from.mxindex_bodu + 1, 0, MaxPointsPerProfile);
    std::copy(from.points, from.points + points, to.points);
    const int lines = std::clamp(from.HBV_pocet, 0, MaxHbvLines);
    for (int l = 0; l < lines; ++l) {
      copyArray(from.HBV_x[l], to.HBV_x[l]);
      copyArray(from.HBV_z[l], to.HBV_z[l]);
    }
  }
  db.changed = false;
}

SectionProfile* currentProfilePtr(SectionDatabase& db) {
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return nullptr;
  return &db.profiles[db.currentProfile];
}

const SectionProfile* currentProfilePtr(const SectionDatabase& db) {
  return currentProfilePtr(const_cast<SectionDatabase&>(db));
}

}  // namespace orv
