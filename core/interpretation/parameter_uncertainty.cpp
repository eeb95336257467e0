#include "core/interpretation/parameter_uncertainty.h"

#include <cmath>
#include <memory>

#include "base/c_format.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/layer_fit.h"
#include "core/interpretation/thorough_fit.h"

namespace orv {

UncertaintyOutcome parameterUncertaintyCore(CurveWindowState& s, ui::Progress* progress) {
  UncertaintyOutcome u;
  const ThoroughOutcome minimum = fitToMinimumCore(s, progress);
  u.refusal = minimum.refusal;
  if (!minimum.ran) return u;
  u.ran = true;
  u.changed = minimum.improved;
  u.stopped = minimum.stopped;
  if (u.stopped) return u;
  u.misfit = s.modelFitError;

  const LayerModel shown = windowModel(s);
  LayerFit fit(s, shown);
  const int n = fit.columns();
  u.cells = fit.dataRows();
  u.enoughCells = u.cells > n;
  std::vector<double> x(n), inverse;
  fit.start(x.data());
  int evaluations = 0;
  const bool solved = n > 0 && fit.inverseNormalMatrix(x.data(), inverse, evaluations);
  // The trials have overwritten the computed curve.
  computeForwardValues(s, false);
  s.modelFitError = u.misfit;
  const double variance = u.enoughCells ? u.misfit / (u.cells - n) : HUGE_VAL;
  for (int c = 0; c < n; ++c) {
    UncertainParameter p;
    p.layer = fit.columnLayer(c);
    p.isRho = fit.columnIsRho(c);
    p.value = p.isRho ? shown.rho[p.layer] : shown.h[p.layer];
    p.factor = solved ? std::exp(std::sqrt(variance * inverse[c * n + c])) : HUGE_VAL;
    u.parameters.push_back(p);
  }
  u.correlation.assign(static_cast<size_t>(n) * n, NAN);
  for (int a = 0; a < n && solved; ++a) {
    for (int b = 0; b < n; ++b) {
      u.correlation[a * n + b] =
          inverse[a * n + b] / std::sqrt(inverse[a * n + a] * inverse[b * n + b]);
    }
  }
  return u;
}

namespace {

std::string name(const UncertainParameter& p) {
  return (p.isRho ? "ρ" : "h") + cformat("%i", p.layer + 1);
}

// Fixed-width columns count characters, not the bytes of ρ and ×.
std::string padded(const std::string& text, size_t width) {
  size_t characters = 0;
  for (unsigned char ch : text) characters += (ch & 0xC0) != 0x80;
  return text + std::string(characters < width ? width - characters : 0, ' ');
}

// Two decimals below 10, so that a well-resolved 1.004 does not read "1"
// (no uncertainty at all); three figures above.
std::string factorText(double f) {
  if (!std::isfinite(f) || f >= 1e6) return "neomezeno";
  return cformat(f < 10.0 ? "%.2f" : "%.3g", f);
}

}  // namespace

std::string uncertaintyReport(const UncertaintyOutcome& u) {
  const int n = static_cast<int>(u.parameters.size());
  std::string text = "SSQ = " + cformat("%.6f", u.misfit) + ", " + cformat("%i", u.cells) +
                     " bodů křivky, " + cformat("%i", n) + " volných parametrů\n";
  if (n == 0) return text + "Žádný parametr není volný.\n";
  if (!u.enoughCells) return text + "Křivka má méně bodů než model volných parametrů.\n";
  text += "\nSměrodatná chyba jako násobek (hodnota ×/÷ násobek):\n";
  for (const UncertainParameter& p : u.parameters) {
    text += "  " + padded(name(p), 5) + padded(cformat("%.4g", p.value), 10) +
            padded(p.isRho ? "ohm.m" : "m", 7) + "×/÷ " + factorText(p.factor) + "\n";
  }
  text += "\nKorelační matice:\n" + std::string(7, ' ');
  for (const UncertainParameter& p : u.parameters) text += padded(name(p), 7);
  text += "\n";
  for (int a = 0; a < n; ++a) {
    text += "  " + padded(name(u.parameters[a]), 5);
    for (int b = 0; b < n; ++b) {
      const double r = u.correlation[a * n + b];
      text += padded(std::isfinite(r) ? cformat("%.2f", r) : std::string("-"), 7);
    }
    text += "\n";
  }
  return text;
}

}  // namespace orv
