#include "core/section/contour_grids.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <vector>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/fixed_text.h"
#include "core/section/boundary_lines.h"

namespace orv {
namespace {

// log10 of the AB/2 of grid cell g is g times this.
constexpr double GridDecadeStep = 0.11266336187471834863;
// A sample that misses a layer's bottom by rounding of the steps still counts.
constexpr double SampleSlack = 1e-6;
// Steps of one sampled column or row at most (20 km of a model column): a
// damaged depth or boundary line of astronomic size must not write without end.
constexpr int MaxGridSteps = 100000;

constexpr const char* ResistivityUnits = "[m]\t[m]\t[ohm.m]";
constexpr const char* IpUnits = "[m]\t[m]\t[%]";

void appendPoint(std::string& out, double x, double z, double value) {
  // The C library's text mode turned the "\n" before each point into CR LF.
  out += "\r\n";
  out += formatF(x);
  out += '\t';
  out += formatF(z);
  out += '\t';
  out += formatF(value);
}

// Collects a grid in pieces and hands them to the file, so that a long
// profile never sits in memory whole.
class GridFile {
 public:
  explicit GridFile(std::FILE* out) : out_(out) {}
  std::string& buffer() { return buf_; }
  void point(double x, double z, double value) {
    appendPoint(buf_, x, z, value);
    if (buf_.size() > 1 << 16) flush();
  }
  void flush() {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), out_) != buf_.size()) ok_ = false;
    buf_.clear();
  }
  bool finish() {
    flush();
    return ok_ && std::fflush(out_) == 0 && !std::ferror(out_);
  }

 private:
  std::FILE* out_;
  std::string buf_;
  bool ok_ = true;
};

// Depth reach of a sounding: half the largest AB/2 of its composite curve, m.
double depthReach(const SectionPoint& pt) {
  return 0.5 * std::pow(10.0, pt.ABmx * GridDecadeStep);
}

int firstCell(const SectionPoint& pt) {
  return std::clamp(pt.nABmn, 0, GridCells);
}
int lastCell(const SectionPoint& pt) {
  return std::clamp(pt.ABmx, -1, GridCells - 1);
}

void writeModelPoint(GridFile& out, const SectionPoint& pt) {
  const double x = pt.profileChainage;
  const double surface = pt.pointZ;
  const int last = lastLayerIndex(pt);
  double top = surface;
  for (int j = 0; j <= last; ++j) {
    double bottom;
    if (j < last) {
      bottom = surface - std::fabs(double(pt.layerDepth[j]));
    } else {
      bottom = surface - depthReach(pt) - ModelGridMargin;
      bottom = std::min(bottom, top - ModelGridMargin);
    }
    const double rho = std::fabs(double(pt.layerRho[j]));
    // Steps counted from the top, so that a long column does not drift off
    // the 0.2 m raster.
    for (int i = 0; i < MaxGridSteps; ++i) {
      const double z = top - i * ModelGridStep;
      if (!(z >= bottom - SampleSlack)) break;
      out.point(x, z, rho);
    }
    top = bottom;
  }
}

// Elevation of a chain of the outline at chainage x: a vertex exactly there,
// otherwise the edge spanning x; the last match counts.
std::optional<double> chainElevation(const std::vector<double>& xs, const std::vector<double>& zs,
                                     std::size_t from, std::size_t to, double x) {
  std::optional<double> z;
  for (std::size_t i = from; i < to; ++i) {
    if (xs[i] == x) z = zs[i];
    if (i + 1 < to) {
      const double x0 = xs[i], x1 = xs[i + 1];
      if ((x0 < x && x < x1) || (x1 < x && x < x0))
        z = zs[i] + (zs[i + 1] - zs[i]) * (x - x0) / (x1 - x0);
    }
  }
  return z;
}

}  // namespace

std::string gridTitleLine(GridKind kind, const SectionDatabase& db) {
  const char* head =
      "X\tZ\tR - soubor naměřených křivek VES pro vyzvoření izoohmického řezu lokality: ";
  const char* units = ResistivityUnits;
  if (kind == GridKind::IpPseudoSection) {
    head = "X\tZ\tVP - soubor naměřených křivek VES pro vyzvoření izoohmického řezu lokality: ";
    units = IpUnits;
  } else if (kind == GridKind::Layers) {
    head =
        "X\tZ\tRint - soubor interpretovaných rezistivit interpolovaných ve vrstvách pro "
        "vyzvoření izoohmického řezu lokality: ";
  }
  std::string line = utf8ToCp1250(head);
  line += textOf(db.localityName);
  line += " a profilu ";
  if (const SectionProfile* p = currentProfilePtr(db)) line += textOf(p->profileName);
  line += units;
  return line;
}

bool writeModelGrid(const SectionDatabase& db, std::FILE* out) {
  GridFile f(out);
  f.buffer() = gridTitleLine(GridKind::Model, db);
  if (const SectionProfile* p = currentProfilePtr(db))
    for (int k = 0; k < profilePointCount(*p); ++k) writeModelPoint(f, p->points[k]);
  return f.finish();
}

bool writePseudoSectionGrid(const SectionDatabase& db, std::FILE* out) {
  GridFile f(out);
  f.buffer() = gridTitleLine(GridKind::PseudoSection, db);
  if (const SectionProfile* p = currentProfilePtr(db)) {
    for (int k = 0; k < profilePointCount(*p); ++k) {
      const SectionPoint& pt = p->points[k];
      for (int g = firstCell(pt); g <= lastCell(pt); ++g)
        f.point(pt.profileChainage, pt.pointZ - 0.5 * std::pow(10.0, g * GridDecadeStep),
                pt.compositeRho[g]);
    }
  }
  return f.finish();
}

bool writeIpPseudoSectionGrid(const SectionDatabase& db, int ipWindow, std::FILE* out) {
  GridFile f(out);
  f.buffer() = gridTitleLine(GridKind::IpPseudoSection, db);
  const int w = std::clamp(ipWindow, 0, MaxIpWindows - 1);
  if (const SectionProfile* p = currentProfilePtr(db)) {
    for (int k = 0; k < profilePointCount(*p); ++k) {
      const SectionPoint& pt = p->points[k];
      const int readings = std::clamp(pt.Mermx, 0, MaxReadings);
      for (int m = 0; m < readings; ++m)
        f.point(pt.profileChainage, pt.pointZ - 0.5 * double(pt.AO[m]), pt.ipValue[m][w]);
    }
  }
  return f.finish();
}

bool writeLayerGrid(SectionDatabase& db, SectionWindowState& view, std::FILE* out) {
  GridFile f(out);
  f.buffer() = gridTitleLine(GridKind::Layers, db);
  colourLayers(db, view, [&f](double xa, double xb, float ra, float rb, const BandPolygon& poly) {
    writeBandGrid(f.buffer(), xa, xb, ra, rb, poly);
    f.flush();
  });
  return f.finish();
}

void writeBandGrid(std::string& out, double xa, double xb, float rhoA, float rhoB,
                   const BandPolygon& polygon) {
  const int count = std::clamp(polygon.count, 0, MaxBandVertices);
  if (count < 1) return;
  std::vector<double> xs(polygon.x, polygon.x + count);
  std::vector<double> zs(polygon.z, polygon.z + count);
  if (xs.back() != xs.front()) {
    xs.push_back(xs.front());
    zs.push_back(zs.front());
  }
  const std::size_t n = xs.size();

  double smallest = 1e18, largest = -1e17;
  for (double x : xs) smallest = std::min(smallest, x), largest = std::max(largest, x);
  // The upper chain runs from the first vertex to the far end, the lower one
  // back from there.
  std::size_t split = n;
  for (std::size_t i = 1; i + 1 < n; ++i)
    if (xs[i] == smallest || xs[i] == largest) split = i;

  const double dRho = double(rhoB) - double(rhoA);
  for (int c = 0; c < MaxGridSteps; ++c) {
    const double x = smallest + c * BandGridStepX;
    if (!(x < largest)) break;
    std::optional<double> upper = chainElevation(xs, zs, 0, split, x);
    std::optional<double> lower = chainElevation(xs, zs, split, n, x);
    // An outline whose chains do not cover x has no column there.
    if (!upper || !lower) continue;
    double zUpper = *upper, zLower = *lower;
    if (zUpper < zLower) std::swap(zUpper, zLower);
    // A band of no width (xa == xb) has one resistivity.
    const double rho = xb != xa ? rhoA + dRho / (xb - xa) * (x - xa) : double(rhoA);
    for (int i = 0; i < MaxGridSteps; ++i) {
      const double z = zLower + i * BandGridStepZ;
      if (!(z < zUpper + 0.9)) break;
      appendPoint(out, x, std::min(z, zUpper), rho);
    }
  }
}

BandWriter bandGridWriter(std::string& out) {
  return [&out](double xa, double xb, float ra, float rb, const BandPolygon& poly) {
    writeBandGrid(out, xa, xb, ra, rb, poly);
  };
}

}  // namespace orv
