// What a reader overwrites before it knows whether the file is usable: the
// texts, the readings with everything attached to them (IP reference, decay
// samples, IP values) and the IP timing and windows. Kept so that a load that
// yields nothing leaves the previous sounding as it was.
#pragma once

#include "base/zeroed_block.h"
#include "core/curve/curve_window_state.h"

namespace orv {

struct ReadingsSnapshotData {
  char operatorText[WordCapacity];
  char localityText[WordCapacity];
  char dateText[WordCapacity];
  char instrumentFilePath[PathCapacity];
  int32_t pointNumber;
  int32_t profileNumber;
  int32_t sourceKind;
  bool curveLoaded;
  int32_t readingCount;
  float readingAbHalf[MaxReadings];
  float readingMnHalf[MaxReadings];
  float readingRho[MaxReadings];
  float readingS[MaxReadings];
  float readingIpReference[MaxReadings];
  int32_t readingBranch[MaxReadings];
  int32_t readingGridIndex[MaxReadings];
  double readingLogAbHalf[MaxReadings];
  double readingLogRho[MaxReadings];
  int32_t decaySampleCount[MaxReadings];
  float decaySampleValue[MaxReadings][MaxDecaySamples];
  int32_t decaySampleTime[MaxReadings][MaxDecaySamples];
  float ipValue[MaxReadings][MaxIpWindows];
  int32_t ipWindowCount;
  int32_t ipWindowStart[MaxIpWindows];
  int32_t ipWindowEnd[MaxIpWindows];
  int32_t ipWindowMidTime[MaxIpWindows];
  int32_t ipWindowLength;
  int32_t ipWindowDelay;
  int32_t ipOnTime, ipOffTime, ipLeadTime, ipTailTime;
};

// Taken when constructed (about 1.7 MB, on the heap); restore() puts it back.
class ReadingsSnapshot {
 public:
  explicit ReadingsSnapshot(const CurveWindowState& s);
  void restore(CurveWindowState& s) const;

 private:
  ZeroedBlock<ReadingsSnapshotData> d_;
};

}  // namespace orv
