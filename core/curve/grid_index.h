// Mapping of a measured AB/2 onto the logarithmic AB/2 grid of the curve
// window. The field crews use a fixed series of standard spacings from 1 m to
// 301.1 m; measured values near a standard spacing take its grid index and its
// rounded value, everything else follows the logarithmic rule.
#pragma once

#include <cstdint>

namespace orv {

struct GridCell {
  int32_t k;    // grid index; may lie outside 0..199 for absurd spacings
  float value;  // AB/2 of the grid index, m, as stored in gridAbHalf[k]
};

// AB/2 in m. The comparisons against the decimal bounds of the table are made
// in extended precision, so a float32 reading is compared by its exact value
// (float32(1.1) = 1.10000002... lies above the bound 1.1).
// A value that is not a positive number (0, negative, NaN) gives
// k = INT32_MIN and value 0; +inf gives k = INT32_MAX.
GridCell gridIndexOf(float abHalf);
GridCell gridIndexOf(double abHalf);
GridCell gridIndexOf(long double abHalf);

// trunc(log10(a) x 8.876 + 0.2): the logarithmic rule alone, also used for the
// sounding's lowest and highest grid index. Same conventions for
// non-positive, NaN and infinite values as gridIndexOf.
int32_t logGridIndex(long double abHalf);

// 10^(k/8.876) as float32, evaluated as exp(ln 10 x k x (1/8.876)).
float gridValueOf(int32_t k);

}  // namespace orv
