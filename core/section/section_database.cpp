#include "core/section/section_database.h"

namespace orv {

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

SectionProfile* currentProfilePtr(SectionDatabase& db) {
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return nullptr;
  return &db.profiles[db.currentProfile];
}

const SectionProfile* currentProfilePtr(const SectionDatabase& db) {
  return currentProfilePtr(const_cast<SectionDatabase&>(db));
}

}  // namespace orv
