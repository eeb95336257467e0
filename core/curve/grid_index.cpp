#include "core/curve/grid_index.h"

#include <bit>
#include <cmath>
#include <limits>

namespace orv {
namespace {

struct GridRow {
  long double low;   // exclusive
  long double high;  // exclusive
  int32_t k;
  float value;  // NaN: 10^(k/8.876)
};

constexpr float kLogValue = std::numeric_limits<float>::quiet_NaN();

// Four of the standard values are not the nearest float32 of their decimal
// text: they are the instruments' own rounded figures, kept bit for bit.
const float kGrid9 = std::bit_cast<float>(uint32_t{0x4124CCCC});   // 10.299999
const float kGrid10 = std::bit_cast<float>(uint32_t{0x41566667});  // 13.400001
const float kGrid17 = std::bit_cast<float>(uint32_t{0x42A49999});  // 82.299995
const float kGrid18 = std::bit_cast<float>(uint32_t{0x42D60001});  // 107.00001

const GridRow kRows[] = {
    {0.6L, 1.1L, 0, 1.0f},
    {1.1L, 1.4L, 1, 1.3f},
    {1.6L, 1.8L, 2, 1.68f},
    {1.9L, 2.3L, 3, 2.18f},
    {2.77L, 2.99L, 4, 2.82f},
    {3.5L, 3.78L, 5, 3.66f},
    {4.66L, 4.88L, 6, 4.74f},
    {6.0L, 6.5L, 7, 6.15f},
    {7.5L, 8.3L, 8, 7.97f},
    {10.0L, 10.5L, 9, kGrid9},
    {13.0L, 13.99L, 10, kGrid10},
    {17.0L, 18.0L, 11, 17.4f},
    {22.0L, 23.1L, 12, 22.5f},
    {28.88L, 29.99L, 13, 29.1f},
    {37.0L, 38.0L, 14, 37.8f},
    {48.0L, 50.1L, 15, 49.0f},
    {63.0L, 64.0L, 16, 63.5f},
    {81.5L, 84.0L, 17, kGrid17},
    {105.0L, 109.0L, 18, kGrid18},
    {133.0L, 142.0L, 19, 138.0f},
    {142.0L, 200.0L, 20, 179.2f},
    {200.0L, 280.0L, 21, 232.3f},
    {280.0L, 330.0L, 22, 301.1f},
    {330.0L, 450.0L, 23, kLogValue},
    {450.0L, 600.0L, 24, kLogValue},
    {600.0L, 830.0L, 25, kLogValue},
    {830.0L, 1250.0L, 26, kLogValue},
};

}  // namespace

float gridValueOf(int32_t k) {
  const long double ln10 = std::log(10.0L);
  return static_cast<float>(
      std::exp(ln10 * static_cast<long double>(k) * (1.0L / static_cast<long double>(8.876L))));
}

int32_t logGridIndex(long double a) {
  if (std::isnan(a) || a <= 0) return std::numeric_limits<int32_t>::min();
  if (std::isinf(a)) return std::numeric_limits<int32_t>::max();
  // Finite long doubles have |log10| < 4933, so the product fits an int32.
  long double t = std::trunc(std::log10(a) * 8.876L + 0.2L);
  return static_cast<int32_t>(t);
}

GridCell gridIndexOf(long double a) {
  for (const GridRow& r : kRows) {
    if (r.low < a && a < r.high) {
      float v = std::isnan(r.value) ? gridValueOf(r.k) : r.value;
      return {r.k, v};
    }
  }
  int32_t k = logGridIndex(a);
  if (k == std::numeric_limits<int32_t>::min()) return {k, 0.0f};
  if (k == std::numeric_limits<int32_t>::max()) return {k, std::numeric_limits<float>::infinity()};
  return {k, gridValueOf(k)};
}

GridCell gridIndexOf(float a) {
  return gridIndexOf(static_cast<long double>(a));
}
GridCell gridIndexOf(double a) {
  return gridIndexOf(static_cast<long double>(a));
}

}  // namespace orv
