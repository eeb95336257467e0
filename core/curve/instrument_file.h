// What the OAX and SAS readers share: the result of a read, the notice of
// what could not be taken as it stands, the default IP windows, and the
// order in which the OAX files of a folder are walked.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/curve/curve_window_state.h"

namespace orv {

// What a reader could not take as it is; told to the user once per file.
struct InstrumentReadNotice {
  bool readingsCapped = false;  // the file holds more readings than MaxReadings
  bool samplesCapped = false;   // a decay has more than MaxDecaySamples samples
  bool truncatedBlock = false;  // the file ends or turns to garbage inside a reading block
  int droppedBranch = 0;        // OAX readings with a branch number outside 1..5
  int droppedWideMn = 0;        // SAS readings with MN/2 of 115 m and more (branch 6 and up)
};

// The notice as one message ("" when there is nothing to tell).
std::string instrumentNoticeText(const InstrumentReadNotice& n);

struct InstrumentReadResult {
  int code = 0;           // 1 read, 0 the file cannot be opened
  bool ipHeader = false;  // an OAX file with IP header (variant A)
  InstrumentReadNotice notice;
};

// MN/2 from which a SAS reading would fall into branch 6, which the branch
// tables cannot hold.
inline constexpr float SasWidestBranchLimit = 115.0f;

// The default IP windows from the current timing, only while no window is
// defined (ipWindowCount < 0): windows of 150 ms from 100 ms after lead time +
// on time, as many as fit into the tail time, at most 20.
void generateDefaultIpWindows(CurveWindowState& s);

// Whether a bare file name has the extension ".OAX" in any letter case (the
// instruments' folders are read on a system that does not tell case apart).
bool hasOaxExtension(std::string_view name);

// The walking order of a profile's files: by the point number in the name
// (negative chainages first), names without a number after all numbered ones;
// equal numbers by the bytes of the name.
bool oaxWalkOrderLess(std::string_view a, std::string_view b);

// The bare names of the OAX files (regular files) of folder ("" for the
// current folder), in walking order.
std::vector<std::string> listOaxFiles(const std::string& folder);

// The folder part of a path ("" when it has none) and the bare name.
std::string folderOfPath(std::string_view path);
std::string_view fileNameOfPath(std::string_view path);
// folder + separator + name, or the bare name when folder is "".
std::string joinFolder(const std::string& folder, std::string_view name);

}  // namespace orv
