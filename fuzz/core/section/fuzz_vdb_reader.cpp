// Any bytes as a section database file, read over a database that already
// holds points: reading never crashes nor writes outside the database, what
// it leaves stays within the capacities, and it can be written again. A file
// refused as no database leaves the database as it was.
#include <cstdio>
#include <cstdlib>

#include "base/zeroed_block.h"
#include "core/section/section_database.h"
#include "core/section/vdb_file.h"
#include "fuzz/support/fuzz_file.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".vdb");
  static orv::ZeroedBlock<orv::SectionDatabase> db;
  static bool prepared = false;
  if (!prepared) {
    orv::setInitialDatabaseState(*db);
    prepared = true;
  }
  const int profilesBefore = db->mxindex_profilu;
  const orv::VdbReadResult r = orv::readVdb(*db, path.c_str());
  if (r.code == -1) {
    check(db->mxindex_profilu == profilesBefore);
    return 0;
  }
  check(r.code == 1);
  const orv::SectionDatabase& d = *db;
  check(d.mxindex_profilu >= 0 && d.mxindex_profilu < orv::MaxProfiles);
  int points = 0;
  for (int p = 0; p <= d.mxindex_profilu; ++p) {
    const orv::SectionProfile& pf = d.profiles[p];
    check(pf.mxindex_bodu >= -1 && pf.mxindex_bodu < orv::MaxPointsPerProfile);
    check(pf.num_IPoken == orv::NoIpInformation ||
          (pf.num_IPoken >= 0 && pf.num_IPoken <= orv::MaxIpWindows));
    check(pf.HBV_pocet >= 0 && pf.HBV_pocet <= orv::MaxHbvLines);
    for (int l = 0; l < pf.HBV_pocet; ++l) check(pf.HBV_pocetBodu[l] <= orv::MaxHbvVertices);
    for (int b = 0; b <= pf.mxindex_bodu; ++b) {
      const orv::SectionPoint& pt = pf.points[b];
      check(pt.Mermx >= 0 && pt.Mermx <= orv::MaxReadings);
      check(pt.MDLmx >= 0 && pt.MDLmx < orv::MaxLayers);
      check(pt.nABmn >= 0 && pt.nABmn < orv::GridCells && pt.ABmx >= 0 && pt.ABmx < orv::GridCells);
    }
    points += pf.mxindex_bodu + 1;
  }
  check(points == r.pointsRead);
  std::FILE* out = std::fopen("/dev/null", "wb");
  if (out) {
    check(orv::writeVdb(d, out));
    std::fclose(out);
  }
  return 0;
}
