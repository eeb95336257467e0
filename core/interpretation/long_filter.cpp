#include "core/interpretation/long_filter.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/interpretation/forward_problem.h"

namespace orv {

// J1 weights of the 201-point Hankel filter of K. Key, "Is the fast Hankel
// transform faster than quadrature?", Geophysics 77(3), F21-F30 (2012),
// file kk201Hankel.txt of its published software, as carried by the open
// empymod library (key_201_2012). Abscissae b_i = exp((i - 100) x 0.124): a
// spacing of 0.124 in ln b (0.05385 decades), from 4.12e-6 to 2.43e5.
const double LongFilterJ1Weights[LongFilterPoints] = {
    4.7827871332506182e-10,  -2.9784175503440788e-09, 9.7723832770897220e-09,
    -2.2382340996085809e-08, 4.0446774329470848e-08,  -6.1734815854553919e-08,
    8.3293912185608189e-08,  -1.0249453502284080e-07, 1.1780779749909977e-07,
    -1.2870061460834850e-07, 1.3559243438349901e-07,  -1.3921010821521872e-07,
    1.4065745722769670e-07,  -1.4074881908375281e-07, 1.4051720878600928e-07,
    -1.4040746687777830e-07, 1.4127886061686993e-07,  -1.4315595655055356e-07,
    1.4689283208027915e-07,  -1.5210916706348747e-07, 1.5989801550138741e-07,
    -1.6940918407911260e-07, 1.8227089415749844e-07,  -1.9695856878603369e-07,
    2.1603952427106760e-07,  -2.3691320619292838e-07, 2.6369843208466607e-07,
    -2.9202021404039016e-07, 3.2852445086324662e-07,  -3.6589094553627693e-07,
    4.1487501036863030e-07,  -4.6327136995173986e-07, 5.2852697369750518e-07,
    -5.9034983719954077e-07, 6.7710211611560898e-07,  -7.5512942807901028e-07,
    8.7062473466409799e-07,  -9.6788530918130449e-07, 1.1222658353725904e-06,
    -1.2417228058919743e-06, 1.4493467036899140e-06,  -1.5932456559208080e-06,
    1.8747045814274419e-06,  -2.0433320340041385e-06, 2.4285695351967146e-06,
    -2.6179926456520528e-06, 3.1511729661391781e-06,  -3.3492412032881268e-06,
    4.0964186613549959e-06,  -4.2758275751239154e-06, 5.3371197552207799e-06,
    -5.4435423773626499e-06, 6.9725766921672099e-06,  -6.9045562968161745e-06,
    9.1397025436977438e-06,  -8.7148373033635960e-06, 1.2029590806160379e-05,
    -1.0927976968519436e-05, 1.5912526719455299e-05,  -1.3582559661331659e-05,
    2.1176226828087565e-05,  -1.6678205993448338e-05, 2.8384979250408712e-05,
    -2.0132088397797457e-05, 3.8372045311188108e-05,  -2.3702184335455945e-05,
    5.2385308850007940e-05,  -2.6854373943701261e-05, 7.2318581557902158e-05,
    -2.8535361884516687e-05, 1.0108123118106823e-04,  -2.6788477540644352e-05,
    1.4319185407094621e-04,  -1.8108424211338017e-05, 2.0573561552327273e-04,
    3.6361648565843316e-06,  2.9991264692859609e-04,  4.8993332079278846e-05,
    4.4354733854670903e-04,  1.3589101811995494e-04,  6.6515823521273764e-04,
    2.9451991608624389e-04,  1.0105553806271136e-03,  5.7533964792254050e-04,
    1.5535077418254303e-03,  1.0621193133794828e-03,  2.4128970258747457e-03,
    1.8929698186109245e-03,  3.7800177772191607e-03,  3.2937343278959356e-03,
    5.9612179800391544e-03,  5.6295935320552241e-03,  9.4422526803168080e-03,
    9.4810228247137925e-03,  1.4979159139973408e-02,  1.5745093424331037e-02,
    2.3708966370000140e-02,  2.5740590762136872e-02,  3.7232782843117498e-02,
    4.1225008900614292e-02,  5.7507103212277359e-02,  6.4044642846235691e-02,
    8.6091796551857253e-02,  9.4717139804457451e-02,  1.2172497389177185e-01,
    1.2853597000398900e-01,  1.5450777327408322e-01,  1.4755964090969320e-01,
    1.5621399202016978e-01,  1.1147620703185755e-01,  7.7489831356083380e-02,
    -2.7628266850147711e-02, -1.0198730178317840e-01, -2.2039889971111640e-01,
    -2.1185762869925318e-01, -1.6052415083152241e-01, 9.1649025798681089e-02,
    2.3792823877700942e-01,  2.6075777853738125e-01,  -1.5662188259001042e-01,
    -2.8932081756330175e-01, 1.3148519116247689e-02,  4.2691302759079564e-01,
    -4.0005050006489040e-01, 1.1513789407450359e-01,  9.3748244358717620e-02,
    -1.6037231301955096e-01, 1.5071857939129532e-01,  -1.2120369075996129e-01,
    9.4110656079982341e-02,  -7.3742238434584328e-02, 5.9038567576124905e-02,
    -4.8288117528475852e-02, 4.0197054299576880e-02,  -3.3919787720641081e-02,
    2.8918247156763971e-02,  -2.4845271759013743e-02, 2.1470449751150148e-02,
    -1.8635828020057092e-02, 1.6229579362363859e-02,  -1.4170085406786529e-02,
    1.2396084121011890e-02,  -1.0860414401084047e-02, 9.5259444245356633e-03,
    -8.3628577447233381e-03, 7.3468029551253195e-03,  -6.4576043210966359e-03,
    5.6783439955994880e-03,  -4.9946949167265437e-03, 4.3944258108608806e-03,
    -3.8670264019660858e-03, 3.4034180355556670e-03,  -2.9957260668529964e-03,
    2.6370977166248776e-03,  -2.3215540117372982e-03, 2.0438677474690805e-03,
    -1.7994616759226389e-03, 1.5843226896713463e-03,  -1.3949288614414647e-03,
    1.2281869708886250e-03,  -1.0813786997088304e-03, 9.5211407460757294e-04,
    -8.3829103020448140e-04, 7.3806018220987763e-04,  -6.4979406671247244e-04,
    5.7206022901230412e-04,  -5.0359764543483573e-04, 4.4329604122300101e-04,
    -3.9017773206623073e-04, 3.4338166974098888e-04,  -3.0214941633163506e-04,
    2.6581280850704716e-04,  -2.3378310479588391e-04, 2.0554143583887405e-04,
    -1.8063040107732216e-04, 1.5864667598176302e-04,  -1.3923451235168759e-04,
    1.2208003098625932e-04,  -1.0690622166177854e-04, 9.3468580362568137e-05,
    -8.1551328581234316e-05, 7.0964174631531072e-05,  -6.1539592468666665e-05,
    5.3130609116145443e-05,  -4.5609105983126460e-05, 3.8864648584181207e-05,
    -3.2803856352344075e-05, 2.7350296775876261e-05,  -2.2444816150805301e-05,
    1.8046076281584239e-05,  -1.4130826937491561e-05, 1.0693106849359383e-05,
    -7.7412053314530284e-06, 5.2910576443698300e-06,  -3.3552268362550323e-06,
    1.9282956206367452e-06,  -9.7253712572058755e-07, 4.1100807632959352e-07,
    -1.3553176263207053e-07, 3.0748587523233524e-08,  -3.5668195345476294e-09,
};

namespace {

constexpr double kLn10 = 2.30258509299404568402;
constexpr double kFilterLnSpacing = 0.124;
constexpr int kFilterCentre = 100;
// Lattice spacing in ln lambda.
const double kLatticeLnStep = kLn10 * AbGridStep / LongFilterLatticePerCell;
// Points of the Lagrange interpolation of each tap on the lattice. With 3
// lattice points per grid step, 12 points leave about 1e-7 of interpolation
// error on the 1000:1 contrast; 8 points would leave 2e-5.
constexpr int kInterpolationPoints = 12;
// The published filter ends at b = 2.4e5 with a taper that answers a
// constant with 1 - 3.7e-7 of it. Where its last taps already see the
// half-space (AB/2 beyond 1e5 times the first thickness) the curve would
// drift by up to 3.7e-7 x (rho_0 / rho_N - 1), 3.7e-4 on a 1000:1 contrast.
// So it is continued by this many taps at its own spacing, weighted so that
// it answers a constant exactly and every decaying exponential exp(-a b)
// -- the layered earth's kernel T(u) - rho_0 is a sum of them -- as the exact
// integral 1 / (1 + a^2)^(3/2) does, in the least-squares sense over the
// decays kFirstDecay.. kLastDecay that reach the end of the filter.
constexpr int kExtensionTaps = 8;
constexpr int kTaps = LongFilterPoints + kExtensionTaps;
constexpr double kFirstDecay = 1e-10;
constexpr double kLastDecay = 1e-3;
constexpr double kDecayStep = 1.25;
// Folded taps: the continued filter spans 208 x 0.124 in ln lambda, 299
// lattice steps, plus the interpolation stencil.
constexpr int kMaxTaps = 330;
constexpr int kMaxLattice = LongFilterLatticePerCell * (GridCells - 1) + kMaxTaps;
// Where the top layer alone screens everything below it: exp(-2 h0 / lambda)
// under e^-80 makes T - rho_0 smaller than 1e-34 rho_0.
constexpr double kScreenedExponent = -80.0;
constexpr double kRhoFloor = 1e-6;

// Below this exp(x) is under 2^-54, and 1 - e, 1 + e round to 1: the layer
// is as good as infinitely thick at that abscissa.
constexpr double kNegligibleExponent = -40.0;

struct FoldedFilter {
  LatticeFilter view;
  double weight[kMaxTaps];
  // 1 / lambda at every lattice index the grid can need, from view.firstOffset.
  double inverseLambda[kMaxLattice];
};

// Solves a x = y (n x n, row-major) by elimination with partial pivoting;
// a and y are overwritten, x into y.
void solveSmall(double* a, double* y, int n) {
  for (int c = 0; c < n; ++c) {
    int pivot = c;
    for (int r = c + 1; r < n; ++r)
      if (std::fabs(a[r * n + c]) > std::fabs(a[pivot * n + c])) pivot = r;
    for (int k = 0; k < n; ++k) std::swap(a[c * n + k], a[pivot * n + k]);
    std::swap(y[c], y[pivot]);
    for (int r = c + 1; r < n; ++r) {
      const double f = a[r * n + c] / a[c * n + c];
      for (int k = c; k < n; ++k) a[r * n + k] -= f * a[c * n + k];
      y[r] -= f * y[c];
    }
  }
  for (int r = n - 1; r >= 0; --r) {
    double v = y[r];
    for (int k = r + 1; k < n; ++k) v -= a[r * n + k] * y[k];
    y[r] = v / a[r * n + r];
  }
}

// The products b x w of the continuing taps 201 .. 208, by least squares
// on the normal equations; the row of the constant (a = 0) weighs so much
// that it holds to rounding.
void extensionWeights(double* c) {
  double normal[kExtensionTaps * kExtensionTaps] = {};
  double right[kExtensionTaps] = {};
  for (double a = 0.0; a <= kLastDecay; a = a == 0.0 ? kFirstDecay : a * kDecayStep) {
    double answer = 0.0;
    for (int i = 0; i < LongFilterPoints; ++i) {
      const double b = longFilterAbscissa(i);
      answer += std::exp(-a * b) * b * LongFilterJ1Weights[i];
    }
    const double error = answer - 1.0 / std::pow(1.0 + a * a, 1.5);
    const double weight = a == 0.0 ? 1e6 : 1.0;
    double row[kExtensionTaps];
    for (int k = 0; k < kExtensionTaps; ++k)
      row[k] = std::exp(-a * longFilterAbscissa(LongFilterPoints + k));
    for (int j = 0; j < kExtensionTaps; ++j) {
      right[j] -= weight * error * row[j];
      for (int k = 0; k < kExtensionTaps; ++k)
        normal[j * kExtensionTaps + k] += weight * row[j] * row[k];
    }
  }
  solveSmall(normal, right, kExtensionTaps);
  for (int k = 0; k < kExtensionTaps; ++k) c[k] = right[k];
}

FoldedFilter* foldFilter() {
  // Accumulate every tap's share on lattice offsets, then keep the span
  // whose weights are not negligible.
  constexpr int kSpan = kMaxTaps + 2 * kInterpolationPoints;
  constexpr int kOrigin = kSpan / 2;
  double raw[kSpan] = {};
  double extension[kExtensionTaps];
  extensionWeights(extension);
  for (int i = 0; i < kTaps; ++i) {
    const double b = longFilterAbscissa(i);
    const double product =
        i < LongFilterPoints ? b * LongFilterJ1Weights[i] : extension[i - LongFilterPoints];
    // lambda = s / b: the tap sits this many lattice steps from the cell.
    const double t = -(i - kFilterCentre) * kFilterLnSpacing / kLatticeLnStep;
    const int base = static_cast<int>(std::floor(t)) - (kInterpolationPoints / 2 - 1);
    for (int a = 0; a < kInterpolationPoints; ++a) {
      double l = 1.0;
      for (int c = 0; c < kInterpolationPoints; ++c) {
        if (c != a) l *= (t - (base + c)) / static_cast<double>(a - c);
      }
      const int at = base + a + kOrigin;
      if (at < 0 || at >= kSpan) std::abort();  // the spans above are wrong
      raw[at] += l * product;
    }
  }
  double largest = 0.0;
  for (double w : raw) largest = std::fmax(largest, std::fabs(w));
  int lo = 0;
  int hi = kSpan - 1;
  while (lo < hi && std::fabs(raw[lo]) < 1e-16 * largest) ++lo;
  while (hi > lo && std::fabs(raw[hi]) < 1e-16 * largest) --hi;
  static FoldedFilter f;
  f.view.firstOffset = lo - kOrigin;
  f.view.count = hi - lo + 1;
  if (f.view.count > kMaxTaps) std::abort();
  // The continued weights sum to 1 but for rounding; exactly 1, the filter
  // returns a half-space as it is.
  double sum = 0.0;
  for (int k = 0; k < f.view.count; ++k) sum += raw[lo + k];
  for (int k = 0; k < f.view.count; ++k) f.weight[k] = raw[lo + k] / sum;
  f.view.weight = f.weight;
  for (int a = 0; a < kMaxLattice; ++a)
    f.inverseLambda[a] = std::exp(-(a + f.view.firstOffset) * kLatticeLnStep);
  return &f;
}

const FoldedFilter& folded() {
  static const FoldedFilter* const f = foldFilter();
  return *f;
}

bool validModel(int n, int first, int last) {
  return n >= 0 && n < MaxLayers && first >= 0 && last < GridCells && first <= last;
}

// T - rho_0 at count consecutive lattice abscissae into d; inverseLambda
// holds their 1 / lambda. Returns how many abscissae at the start are
// screened by the top layer (their d is 0).
int transformExcess(int n, const double* rho, const double* h, const double* inverseLambda,
                    int count, double* d) {
  double t[kMaxLattice];
  int start = 0;  // the abscissae before it are screened by the top layer
  for (int a = 0; a < count; ++a) {
    t[a] = rho[n];
    if (n > 0 && -2.0 * h[0] * inverseLambda[a] < kScreenedExponent) start = a + 1;
  }
  for (int i = n - 1; i >= 0; --i) {
    const double r = rho[i];
    const double r2 = r * r;
    const double minusTwoH = -2.0 * h[i];
    for (int a = start; a < count; ++a) {
      const double x = minusTwoH * inverseLambda[a];
      const double e = x < kNegligibleExponent ? 0.0 : std::exp(x);
      const double w = r * (1.0 - e) / (1.0 + e);  // rho tanh(h / lambda)
      t[a] = (w + t[a]) / (w * t[a] / r2 + 1.0);
    }
  }
  for (int a = 0; a < count; ++a) d[a] = a < start ? 0.0 : t[a] - rho[0];
  return start;
}

// Sensitivities of T at one abscissa: dRho[0..n], dH[0..n-1].
void transformSensitivities(int n, const double* rho, const double* h, double lambda, double* dRho,
                            double* dH) {
  double below[MaxLayers + 1];  // T_i: the transform at the top of layer i
  double w[MaxLayers];
  double sech2[MaxLayers];  // 1 - tanh^2(h / lambda)
  below[n] = rho[n];
  for (int i = n - 1; i >= 0; --i) {
    const double x = -2.0 * h[i] / lambda;
    const double e = x < kNegligibleExponent ? 0.0 : std::exp(x);
    w[i] = rho[i] * (1.0 - e) / (1.0 + e);
    sech2[i] = 4.0 * e / ((1.0 + e) * (1.0 + e));
    below[i] = (w[i] + below[i + 1]) / (w[i] * below[i + 1] / (rho[i] * rho[i]) + 1.0);
  }
  double p = 1.0;  // dT_0 / dT_i
  for (int i = 0; i < n; ++i) {
    const double r = rho[i];
    const double b = below[i + 1];
    const double d = w[i] * b / (r * r) + 1.0;
    const double d2 = d * d;
    const double dTdW = (1.0 - b * b / (r * r)) / d2;
    // W = rho tanh(h / lambda): dW/dh = rho sech^2 / lambda, dW/drho = W / rho;
    // rho also enters the denominator directly.
    dH[i] = p * dTdW * r * sech2[i] / lambda;
    dRho[i] = p * (dTdW * w[i] / r + 2.0 * w[i] * b * (w[i] + b) / (d2 * r * r * r));
    p *= sech2[i] / d2;  // dT_i / dT_(i+1) = (1 - W^2 / rho^2) / D^2
  }
  dRho[n] = p;
}

}  // namespace

double longFilterAbscissa(int i) {
  return std::exp((i - kFilterCentre) * kFilterLnSpacing);
}

const LatticeFilter& longLatticeFilter() {
  return folded().view;
}

bool longFilterCurve(int n, const double* rho, const double* h, int first, int last, double* out) {
  if (!validModel(n, first, last)) return false;
  const FoldedFilter& folding = folded();
  const LatticeFilter& f = folding.view;
  const int count = LongFilterLatticePerCell * (last - first) + f.count;
  double d[kMaxLattice];
  const int screened = transformExcess(
      n, rho, h, folding.inverseLambda + LongFilterLatticePerCell * first, count, d);
  double result[GridCells];
  for (int g = first; g <= last; ++g) {
    const int shift = LongFilterLatticePerCell * (g - first);
    const double* at = d + shift;
    double sum = 0.0;
    // The screened abscissae add nothing.
    for (int k = screened > shift ? screened - shift : 0; k < f.count; ++k)
      sum += f.weight[k] * at[k];
    result[g - first] = rho[0] + sum;
    if (!std::isfinite(result[g - first])) return false;
  }
  for (int g = first; g <= last; ++g) out[g - first] = result[g - first];
  return true;
}

bool computeLongFilterForward(CurveWindowState& s, bool trial) {
  const int n = s.modelBoundaryCount;
  const int first = s.gridMinIndex;
  const int last = s.gridMaxIndex;
  if (!validModel(n, first, last)) return false;
  double h[MaxLayers];
  double rho[MaxLayers];
  for (int i = 0; i < n; ++i) {
    if (trial) {
      h[i] = s.thickParam[i];
    } else {
      const double above = i == 0 ? 0.0 : static_cast<double>(s.modelDepth[i - 1]);
      h[i] = static_cast<double>(s.modelDepth[i]) - above;
    }
  }
  for (int i = 0; i <= n; ++i) {
    rho[i] = trial ? s.rhoParam[i] : static_cast<double>(s.modelRho[i]);
    // The half-space is not raised, as in the short road.
    if (i < n && rho[i] < kRhoFloor) rho[i] = kRhoFloor;
  }
  double values[GridCells];
  if (!longFilterCurve(n, rho, h, first, last, values)) return false;
  // A value beyond the float range is no more a result than an infinite one.
  for (int g = first; g <= last; ++g) {
    if (!std::isfinite(static_cast<float>(values[g - first]))) return false;
  }
  for (int g = 0; g <= last; ++g) s.gridAbHalf[g] = gridAbscissa(g);
  for (int k = 0; k < FilterLength; ++k) s.filterCoefficients[k] = ForwardFilterCoefficients[k];
  for (int g = first; g <= last; ++g) {
    s.computedRho[g] = static_cast<float>(values[g - first]);
    s.computedRhoPacked[g - first] = s.computedRho[g];
  }
  return true;
}

bool computeLongFilterJacobian(CurveWindowState& s, int n, const double* rho, const double* h) {
  const int first = s.gridMinIndex;
  const int last = s.gridMaxIndex;
  if (!validModel(n, first, last)) return false;
  const int m = last - first + 1;
  for (int k = 0; k < FilterLength; ++k) s.filterCoefficients[k] = ForwardFilterCoefficients[k];

  const LatticeFilter& f = longLatticeFilter();
  double weightSum = 0.0;
  for (int k = 0; k < f.count; ++k) weightSum += f.weight[k];
  for (int i = 0; i < m; ++i) {
    for (int k = 0; k <= n; ++k) s.J_rho[i][k] = 0.0;
    for (int k = 0; k < n; ++k) s.J_h[i][k] = 0.0;
    // rho_a = rho_0 (1 - Sum w) + Sum w T: the part outside the transform.
    s.J_rho[i][0] = 1.0 - weightSum;
  }
  // Each lattice abscissa's sensitivities go at once to every cell whose
  // folded filter reaches it.
  const int step = LongFilterLatticePerCell;
  const int count = step * (last - first) + f.count;
  double dRho[MaxLayers];
  double dH[MaxLayers];
  for (int a = 0; a < count; ++a) {
    transformSensitivities(n, rho, h, 1.0 / folded().inverseLambda[a + step * first], dRho, dH);
    // Cell row i reaches a with tap a - step * i in 0..count-1.
    int iLow = a - (f.count - 1) <= 0 ? 0 : (a - (f.count - 1) + step - 1) / step;
    int iHigh = a / step;
    if (iHigh > m - 1) iHigh = m - 1;
    for (int i = iLow; i <= iHigh; ++i) {
      const double w = f.weight[a - step * i];
      for (int k = 0; k <= n; ++k) s.J_rho[i][k] += w * dRho[k];
      for (int k = 0; k < n; ++k) s.J_h[i][k] += w * dH[k];
    }
  }
  for (int i = 0; i < m; ++i) {
    for (int k = 0; k <= n; ++k) {
      if (!std::isfinite(s.J_rho[i][k]) || (k < n && !std::isfinite(s.J_h[i][k]))) return false;
    }
  }
  return true;
}

}  // namespace orv
