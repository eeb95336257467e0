#include "core/curve/point_number.h"

#include <gtest/gtest.h>

#include "base/fixed_text.h"
#include "base/zeroed_block.h"

namespace orv {
namespace {

TEST(PointNumberFromFileName, TheNumberLeftOfTheOaxExtension) {
  struct Case {
    const char* path;
    int expected;
  } cases[] = {
      {"pf1_120.OAX", 120},
      {"pf1_120.oax", 120},
      {"C:\\data\\pf1_120.OAX", 120},
      {"/home/geo/lhota/pf2_035.OAX", 35},
      {"pf1_120a.OAX", 120},  // letters between the number and the dot are passed over
      {"pf_-40.OAX", -40},    // a minus after a non-digit makes it negative
      {"pf5-40.OAX", 40},     // a minus after a digit is a separator
      {"pf+15.OAX", 15},
      {"-8.OAX", -8},
      {"pf1_120.OAX.bak", 120},  // the first extension counts
      {"lhota.OAX", -3},         // no digit: the point number
      {"pf1_120.txt", -3},       // no OAX extension: the point number
      {"99999999999.OAX", -3},   // beyond an integer: the point number
  };
  ZeroedBlock<CurveWindowState> s;
  s->sourceKind = SourceInstrument;
  s->pointNumber = -3;
  for (const Case& c : cases) {
    setText(s->instrumentFilePath, c.path);
    EXPECT_EQ(pointNumberFromFileName(*s), c.expected) << c.path;
  }
}

TEST(PointNumberFromFileName, AKmtSoundingOffersItsPointNumber) {
  ZeroedBlock<CurveWindowState> s;
  s->sourceKind = SourceKmt;
  s->pointNumber = 125;
  setText(s->instrumentFilePath, "pf1_120.OAX");
  EXPECT_EQ(pointNumberFromFileName(*s), 125);
}

}  // namespace
}  // namespace orv
