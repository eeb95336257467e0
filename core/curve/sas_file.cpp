#include "core/curve/sas_file.h"

#include <cmath>

#include "base/c_format.h"
#include "core/curve/instrument_text.h"

namespace orv {
namespace {

constexpr int HeaderSearchLines = 200;
constexpr int SasFields = 22;

struct SasLine {
  int number;
  float f[SasFields + 1];  // f[k] is field k; f[0] and f[1] unused
};

bool scanLine(const InstrumentLine& line, SasLine& r) {
  float* f = r.f;
  const int n =
      cscan(line, "%d %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f", &r.number,
            &f[2], &f[3], &f[4], &f[5], &f[6], &f[7], &f[8], &f[9], &f[10], &f[11], &f[12], &f[13],
            &f[14], &f[15], &f[16], &f[17], &f[18], &f[19], &f[20], &f[21], &f[22]);
  return n == SasFields;
}

bool isColumnHeader(const InstrumentLine& l) {
  return textAt(l, 1, "No.") && textAt(l, 5, "Tim");
}

}  // namespace

float sasHalfSpacing(float x1, float y1, float z1, float x2, float y2, float z2) {
  const float dx = x1 - x2;
  const float dy = y1 - y2;
  const float dz = z1 - z2;
  const float horizontal = std::sqrt(dx * dx + dy * dy);
  return 0.5f * std::sqrt(dz * dz + horizontal * horizontal);
}

int sasBranchOfMnHalf(float m) {
  if (m < 1) return 1;
  if (m < 5) return 2;
  if (m < 15) return 3;
  if (m < 35) return 4;
  if (m < SasWidestBranchLimit) return 5;
  return 0;  // also a MN/2 that is not a number
}

InstrumentReadResult readSasData(CurveWindowState& s, const char* path) {
  InstrumentReadResult result;
  InstrumentText in(path);
  if (!in.ok()) return result;
  result.code = 1;

  InstrumentLine line;
  for (int i = 0; i < HeaderSearchLines && in.nextLine(line); ++i)
    if (isColumnHeader(line)) break;

  generateDefaultIpWindows(s);
  const int windows =
      s.ipWindowCount < 0 ? 0 : (s.ipWindowCount > MaxIpWindows ? MaxIpWindows : s.ipWindowCount);
  s.readingCount = 0;
  int previous = 0;
  SasLine r;
  for (int lines = 0; lines < MaxReadings; ++lines) {
    if (!in.nextLine(line) || !scanLine(line, r) || r.number != previous + 1) return result;
    previous = r.number;
    const float* f = r.f;
    const int i = s.readingCount;
    const float mnHalf = sasHalfSpacing(f[9], f[10], f[11], f[12], f[13], f[14]);
    const int branch = sasBranchOfMnHalf(mnHalf);
    if (branch == 0) {
      ++result.notice.droppedWideMn;
      continue;
    }
    s.readingAbHalf[i] = sasHalfSpacing(f[3], f[4], f[5], f[6], f[7], f[8]);
    s.readingMnHalf[i] = mnHalf;
    s.readingIpReference[i] = f[16];
    s.readingRho[i] = f[17];
    s.readingS[i] = 0;
    s.readingBranch[i] = branch;
    for (int w = 0; w < windows; ++w) {
      s.decaySampleTime[i][w] = 0;
      s.decaySampleValue[i][w] = 0;
    }
    // The file has no decays: samples of an earlier sounding must not be
    // drawn as this reading's.
    s.decaySampleCount[i] = 0;
    if (s.readingRho[i] > 0 && std::isfinite(s.readingRho[i])) ++s.readingCount;
  }
  if (in.nextLine(line) && scanLine(line, r) && r.number == previous + 1)
    result.notice.readingsCapped = true;
  return result;
}

}  // namespace orv
