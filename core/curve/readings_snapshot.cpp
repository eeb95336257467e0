#include "core/curve/readings_snapshot.h"

#include <cstring>

namespace orv {
namespace {

template <class T>
void copyArray(T& to, const T& from) {
  std::memcpy(&to, &from, sizeof to);
}

// One list of the members, used in both directions.
template <class From, class To>
void copyMembers(const From& f, To& t) {
  copyArray(t.operatorText, f.operatorText);
  copyArray(t.localityText, f.localityText);
  copyArray(t.dateText, f.dateText);
  copyArray(t.instrumentFilePath, f.instrumentFilePath);
  t.pointNumber = f.pointNumber;
  t.profileNumber = f.profileNumber;
  t.sourceKind = f.sourceKind;
  t.curveLoaded = f.curveLoaded;
  t.readingCount = f.readingCount;
  copyArray(t.readingAbHalf, f.readingAbHalf);
  copyArray(t.readingMnHalf, f.readingMnHalf);
  copyArray(t.readingRho, f.readingRho);
  copyArray(t.readingS, f.readingS);
  copyArray(t.readingIpReference, f.readingIpReference);
  copyArray(t.readingBranch, f.readingBranch);
  copyArray(t.readingGridIndex, f.readingGridIndex);
  copyArray(t.readingLogAbHalf, f.readingLogAbHalf);
  copyArray(t.readingLogRho, f.readingLogRho);
  copyArray(t.decaySampleCount, f.decaySampleCount);
  copyArray(t.decaySampleValue, f.decaySampleValue);
  copyArray(t.decaySampleTime, f.decaySampleTime);
  copyArray(t.ipValue, f.ipValue);
  t.ipWindowCount = f.ipWindowCount;
  copyArray(t.ipWindowStart, f.ipWindowStart);
  copyArray(t.ipWindowEnd, f.ipWindowEnd);
  copyArray(t.ipWindowMidTime, f.ipWindowMidTime);
  t.ipWindowLength = f.ipWindowLength;
  t.ipWindowDelay = f.ipWindowDelay;
  t.ipOnTime = f.ipOnTime;
  t.ipOffTime = f.ipOffTime;
  t.ipLeadTime = f.ipLeadTime;
  t.ipTailTime = f.ipTailTime;
}

}  // namespace

ReadingsSnapshot::ReadingsSnapshot(const CurveWindowState& s) {
  copyMembers(s, *d_);
}

void ReadingsSnapshot::restore(CurveWindowState& s) const {
  copyMembers(*d_, s);
}

}  // namespace orv
