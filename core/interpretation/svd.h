// Singular value decomposition of the inversion's weighted Jacobian by
// Householder bidiagonalisation and implicit-shift sweeps on the bidiagonal.
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

// Decomposes the m x n block of a (m <= 200, n <= 60) in place. Afterwards
// u x a_before x v = a_after, whose diagonal holds the singular values with
// the signs the transformations leave (they are not made non-negative); the
// rows of u (m x m) are the left and the columns of v (n x n) the right
// singular vectors. Entries of a outside the m x n block must be zero.
// Returns false, with the contents undefined, when the sizes are outside the
// capacities, an entry is not finite or the sweeps do not settle.
bool decomposeSVD(double (&a)[SvdMaxRows][SvdMaxColumns], int m, int n,
                  double (&u)[SvdMaxRows][SvdMaxRows], double (&v)[SvdMaxColumns][SvdMaxColumns]);

}  // namespace orv
