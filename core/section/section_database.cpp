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

}  // namespace orv
