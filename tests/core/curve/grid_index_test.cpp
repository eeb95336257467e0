#include "core/curve/grid_index.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orv {
namespace {

struct Row {
  long double low, high;
  int k;
  float value;      // 0: 10^(k/8.876), checked apart
  int kOnLow;       // index of a value exactly on the lower bound
  int kOnHigh;      // index of a value exactly on the upper bound
  bool abutsBelow;  // the row below ends where this one starts
};

// Bounds, indices and values of the standard spacings; the on-bound indices
// are trunc(log10(bound) x 8.876 + 0.2) worked out by hand.
const Row kRows[] = {
    {0.6L, 1.1L, 0, 1.0f, -1, 0, false},
    {1.1L, 1.4L, 1, 1.3f, 0, 1, true},
    {1.6L, 1.8L, 2, 1.68f, 2, 2, false},
    {1.9L, 2.3L, 3, 2.18f, 2, 3, false},
    {2.77L, 2.99L, 4, 2.82f, 4, 4, false},
    {3.5L, 3.78L, 5, 3.66f, 5, 5, false},
    {4.66L, 4.88L, 6, 4.74f, 6, 6, false},
    {6.0L, 6.5L, 7, 6.15f, 7, 7, false},
    {7.5L, 8.3L, 8, 7.97f, 7, 8, false},
    {10.0L, 10.5L, 9, 10.299999f, 9, 9, false},
    {13.0L, 13.99L, 10, 13.400001f, 10, 10, false},
    {17.0L, 18.0L, 11, 17.4f, 11, 11, false},
    {22.0L, 23.1L, 12, 22.5f, 12, 12, false},
    {28.88L, 29.99L, 13, 29.1f, 13, 13, false},
    {37.0L, 38.0L, 14, 37.8f, 14, 14, false},
    {48.0L, 50.1L, 15, 49.0f, 15, 15, false},
    {63.0L, 64.0L, 16, 63.5f, 16, 16, false},
    {81.5L, 84.0L, 17, 82.299995f, 17, 17, false},
    {105.0L, 109.0L, 18, 107.00001f, 18, 18, false},
    {133.0L, 142.0L, 19, 138.0f, 19, 19, false},
    {142.0L, 200.0L, 20, 179.2f, 19, 20, true},
    {200.0L, 280.0L, 21, 232.3f, 20, 21, true},
    {280.0L, 330.0L, 22, 301.1f, 21, 22, true},
    {330.0L, 450.0L, 23, 0, 22, 23, true},
    {450.0L, 600.0L, 24, 0, 23, 24, true},
    {600.0L, 830.0L, 25, 0, 24, 26, true},
    {830.0L, 1250.0L, 26, 0, 26, 27, true},
};

float logValue(int k) {
  return static_cast<float>(std::pow(10.0, k / 8.876));
}

float expectedValue(const Row& r) {
  return r.value != 0 ? r.value : logValue(r.k);
}

TEST(GridIndexOf, InsideEveryRowBothBounds) {
  for (const Row& r : kRows) {
    SCOPED_TRACE(static_cast<double>(r.low));
    long double justAboveLow = std::nextafter(r.low, r.high);
    long double justBelowHigh = std::nextafter(r.high, r.low);
    for (long double a : {justAboveLow, justBelowHigh, (r.low + r.high) / 2}) {
      GridCell g = gridIndexOf(a);
      EXPECT_EQ(g.k, r.k);
      EXPECT_FLOAT_EQ(g.value, expectedValue(r));
    }
  }
}

TEST(GridIndexOf, ExactlyOnABoundFallsToTheLogarithmicRule) {
  for (const Row& r : kRows) {
    SCOPED_TRACE(static_cast<double>(r.low));
    GridCell lo = gridIndexOf(r.low);
    EXPECT_EQ(lo.k, r.kOnLow);
    EXPECT_FLOAT_EQ(lo.value, logValue(r.kOnLow));
    GridCell hi = gridIndexOf(r.high);
    EXPECT_EQ(hi.k, r.kOnHigh);
    EXPECT_FLOAT_EQ(hi.value, logValue(r.kOnHigh));
  }
}

TEST(GridIndexOf, JustOutsideARow) {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& r = kRows[i];
    SCOPED_TRACE(static_cast<double>(r.low));
    long double below = std::nextafter(r.low, 0.0L);
    int expectBelow = r.abutsBelow ? kRows[i - 1].k : r.kOnLow;
    EXPECT_EQ(gridIndexOf(below).k, expectBelow);
    long double above = std::nextafter(r.high, 1e9L);
    bool abutsAbove = i + 1 < std::size(kRows) && kRows[i + 1].abutsBelow;
    int expectAbove = abutsAbove ? kRows[i + 1].k : r.kOnHigh;
    EXPECT_EQ(gridIndexOf(above).k, expectAbove);
  }
}

TEST(GridIndexOf, TheFourInstrumentValuesAreKeptBitForBit) {
  struct Case {
    float a;
    uint32_t bits;
  };
  for (Case c : {Case{10.3f, 0x4124CCCCu}, Case{13.4f, 0x41566667u}, Case{82.3f, 0x42A49999u},
                 Case{107.0f, 0x42D60001u}}) {
    EXPECT_EQ(std::bit_cast<uint32_t>(gridIndexOf(c.a).value), c.bits) << c.a;
  }
  // The others are the nearest float32 of their decimal.
  EXPECT_EQ(gridIndexOf(1.68f).value, 1.68f);
  EXPECT_EQ(gridIndexOf(301.1f).value, 301.1f);
}

TEST(GridIndexOf, NamedCases) {
  struct Case {
    long double a;
    int k;
    float value;
  };
  const Case cases[] = {
      {1.0L, 0, 1.0f},           {1.3L, 1, 1.3f},
      {1.68L, 2, 1.68f},         {1.5L, 1, 1.2961742f},  // between the rows: 10^(1/8.876)
      {1.1L, 0, 1.0f},                                   // exactly on the bound: trunc(0.567)
      {2000.0L, 29, 1850.2802f}, {1250.0L, 27, 1101.313f},
  };
  for (const Case& c : cases) {
    GridCell g = gridIndexOf(c.a);
    EXPECT_EQ(g.k, c.k) << static_cast<double>(c.a);
    EXPECT_NEAR(g.value, c.value, c.value * 1e-6) << static_cast<double>(c.a);
  }
}

TEST(GridIndexOf, Float32OnePointOneLiesAboveTheBound) {
  // float32(1.1) = 1.10000002..., compared exactly: second row.
  GridCell g = gridIndexOf(1.1f);
  EXPECT_EQ(g.k, 1);
  EXPECT_EQ(g.value, 1.3f);
}

TEST(GridIndexOf, SmallSpacingsGiveNegativeIndices) {
  EXPECT_EQ(gridIndexOf(0.6L).k, -1);
  EXPECT_EQ(gridIndexOf(0.59f).k, -1);
  // float32(0.6) = 0.60000002... lies inside the first row.
  EXPECT_EQ(gridIndexOf(0.6f).k, 0);
  EXPECT_EQ(gridIndexOf(0.5f).k, -2);
  EXPECT_EQ(gridIndexOf(0.1f).k, -8);
  EXPECT_EQ(gridIndexOf(0.61f).k, 0);  // inside the first row
}

TEST(GridIndexOf, NotAPositiveNumber) {
  const int32_t lowest = std::numeric_limits<int32_t>::min();
  for (float a : {0.0f, -0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                  -std::numeric_limits<float>::infinity()}) {
    GridCell g = gridIndexOf(a);
    EXPECT_EQ(g.k, lowest) << a;
    EXPECT_EQ(g.value, 0.0f) << a;
  }
  GridCell inf = gridIndexOf(std::numeric_limits<float>::infinity());
  EXPECT_EQ(inf.k, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(gridIndexOf(std::numeric_limits<float>::max()).k, 342);
}

TEST(GridIndexOf, GridValuesMapBackToTheirIndex) {
  // Hand-entered readings lie exactly on the grid and must keep their index.
  for (int k = 0; k < 200; ++k) {
    float a = gridValueOf(k);
    // 10^(27/8.876) = 1101.3 m still lies in the last standard row (830..1250).
    EXPECT_EQ(gridIndexOf(a).k, k == 27 ? 26 : k) << a;
  }
}

TEST(GridValueOf, Values) {
  EXPECT_EQ(gridValueOf(0), 1.0f);
  EXPECT_NEAR(gridValueOf(22), 301.0190f, 1e-3f);
  EXPECT_NEAR(gridValueOf(23), 390.1731f, 1e-3f);
  EXPECT_NEAR(gridValueOf(-2), 0.595214f, 1e-6f);
}

}  // namespace
}  // namespace orv
