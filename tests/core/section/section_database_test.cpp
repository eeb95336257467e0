#include <cstring>
#include <type_traits>

#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

TEST(SectionDatabaseCapacities, AreTheFileFormatOnes) {
  EXPECT_EQ(std::extent_v<decltype(SectionDatabase::profiles)>, 20u);
  EXPECT_EQ(std::extent_v<decltype(SectionProfile::points)>, 420u);
  EXPECT_EQ(std::extent_v<decltype(SectionPoint::AO)>, 200u);
  EXPECT_EQ(std::extent_v<decltype(SectionPoint::compositeRho)>, 200u);
  EXPECT_EQ(std::extent_v<decltype(SectionPoint::layerRho)>, 30u);
  EXPECT_EQ((std::extent_v<decltype(SectionPoint::ipValue), 1>), 20u);
  EXPECT_EQ(std::extent_v<decltype(SectionProfile::HBV_pocetBodu)>, 200u);
  EXPECT_EQ((std::extent_v<decltype(SectionProfile::HBV_x), 1>), 170u);
  EXPECT_EQ(std::extent_v<decltype(SectionPoint::pointNote)>, 400u);
}

TEST_F(SectionTest, InitialStateHasOneEmptyProfile) {
  EXPECT_EQ(db().mxindex_profilu, 0);
  EXPECT_EQ(db().currentProfile, 0);
  EXPECT_EQ(profile(0).mxindex_bodu, -1);
  EXPECT_EQ(profile(0).HBV_pocet, 0);
  for (int k = 0; k < MaxProfiles; ++k) {
    EXPECT_FLOAT_EQ(profile(k).scaleX, 0.0001f) << k;
    EXPECT_FLOAT_EQ(profile(k).scaleZ, 0.001f) << k;
  }
  EXPECT_EQ(textOf(db().fileName), "");
  EXPECT_EQ(textOf(db().localityName), "");
}

TEST_F(SectionTest, InitialStateIsZeroEverywhereElse) {
  // Undo the few values the initial state sets; what remains must be the
  // zero block the database was allocated as.
  profile(0).mxindex_bodu = 0;
  for (int k = 0; k < MaxProfiles; ++k) profile(k).scaleX = profile(k).scaleZ = 0.0f;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(dbBlock.get());
  std::size_t nonZero = 0;
  for (std::size_t i = 0; i < sizeof(SectionDatabase); ++i) nonZero += bytes[i] != 0;
  EXPECT_EQ(nonZero, 0u);
}

}  // namespace
}  // namespace orv::testing
