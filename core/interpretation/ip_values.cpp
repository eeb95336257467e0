#include "core/interpretation/ip_values.h"

#include <algorithm>

namespace orv {
namespace {

constexpr float NoValue = -9999.0f;

struct WindowSum {
  float sum = 0.0f;
  int count = 0;
};

bool timesAscending(const int32_t* t, int n) {
  for (int i = 1; i < n; ++i)
    if (t[i] < t[i - 1]) return false;
  return true;
}

// The samples of a window in sample order. Instruments write the decay in
// time order, so the window is one run found by bisection; any other order is
// scanned whole. Both add the same samples in the same order.
WindowSum sumWindow(const int32_t* t, const float* v, int n, bool ascending, int32_t start,
                    int32_t end) {
  WindowSum r;
  if (ascending) {
    const int32_t* first = std::lower_bound(t, t + n, start);
    for (const int32_t* p = first; p < t + n && *p <= end; ++p) {
      r.sum += v[p - t];
      ++r.count;
    }
    return r;
  }
  // The samples inside are first listed without branches, then added in
  // sample order: random times would defeat branch prediction otherwise.
  int inside[MaxDecaySamples];
  int m = 0;
  for (int i = 0; i < n; ++i) {
    inside[m] = i;
    m += t[i] >= start && t[i] <= end;
  }
  for (int k = 0; k < m; ++k) r.sum += v[inside[k]];
  r.count = m;
  return r;
}

void windowValues(CurveWindowState& s, int j, int windows) {
  const int n = std::clamp(s.decaySampleCount[j], 0, MaxDecaySamples);
  const int32_t* t = s.decaySampleTime[j];
  const float* v = s.decaySampleValue[j];
  const bool ascending = timesAscending(t, n);
  const float reference = s.readingIpReference[j];
  const float maxShown = static_cast<float>(s.ipMaxShown);
  for (int w = 0; w < windows; ++w) {
    const WindowSum ws = sumWindow(t, v, n, ascending, s.ipWindowStart[w], s.ipWindowEnd[w]);
    float value = ws.sum;
    if (ws.count > 0 && reference != 0.0f) {
      value = ws.sum / static_cast<float>(ws.count);
      value = value / reference;
      value = value * maxShown;
      if (value < 0.0f) value = 0.0f;
    }
    s.ipValue[j][w] = value;
  }
}

// Readings of overlapping branches stand on one grid index and must show one
// value there.
void averageOverGrid(CurveWindowState& s, int readings, int windows) {
  const int first = std::max(s.gridMinIndex, 0);
  const int last = std::min(s.gridMaxIndex, GridCells - 1);
  auto onGrid = [&](int j) {
    const int k = s.readingGridIndex[j];
    return k >= first && k <= last;
  };
  for (int w = 0; w < windows; ++w) {
    float sum[GridCells] = {};
    int count[GridCells] = {};
    for (int j = 0; j < readings; ++j) {
      if (!onGrid(j)) continue;
      sum[s.readingGridIndex[j]] += s.ipValue[j][w];
      ++count[s.readingGridIndex[j]];
    }
    for (int j = 0; j < readings; ++j) {
      if (!onGrid(j)) continue;
      const int k = s.readingGridIndex[j];
      s.ipValue[j][w] = sum[k] / static_cast<float>(count[k]);
    }
  }
}

}  // namespace

int ipReadingCount(const CurveWindowState& s) {
  return std::clamp(s.readingCount, 0, MaxReadings);
}

int ipWindowsDefined(const CurveWindowState& s) {
  return std::clamp(s.ipWindowCount, 0, MaxIpWindows);
}

bool soundingHasIp(const CurveWindowState& s) {
  const int readings = ipReadingCount(s);
  if (!s.fromSection) {
    for (int j = 0; j < readings; ++j)
      if (s.decaySampleCount[j] > 0) return true;
    return false;
  }
  const int windows = ipWindowsDefined(s);
  for (int j = 0; j < readings; ++j)
    for (int w = 0; w < windows; ++w)
      if (s.ipValue[j][w] != 0.0f) return true;
  return false;
}

float largestIpValue(const CurveWindowState& s) {
  float largest = NoValue;
  const int windows = ipWindowsDefined(s);
  for (int j = 0; j < ipReadingCount(s); ++j)
    for (int w = 0; w < windows; ++w) largest = std::max(largest, s.ipValue[j][w]);
  return largest;
}

float computeIpValues(CurveWindowState& s) {
  if (s.fromSection) return largestIpValue(s);
  const int readings = ipReadingCount(s);
  const int windows = ipWindowsDefined(s);
  for (int j = 0; j < readings; ++j) windowValues(s, j, windows);
  averageOverGrid(s, readings, windows);
  return largestIpValue(s);
}

}  // namespace orv
