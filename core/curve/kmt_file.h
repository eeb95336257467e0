// KMT sounding files of the KALOMET resistivity meter: any number of records
// one after another, each a header of five lines ("n" operator, "b" point
// number, "p" profile number, "l" locality, "d" date) followed by one line
// per reading. Windows-1250 text with CR LF; every line but the first of a
// file starts with its CR LF, so a written file has no break after its last
// line.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"

namespace orv {

// The reader's line buffer: lines longer than 299 characters are cut.
inline constexpr int KmtLineBuffer = 300;

struct KmtReadResult {
  int code;          // 1 record read, 0 file cannot be opened, -2 end of file
  int readingCount;  // readings taken from the record (code 1 only)
  // Valid reading lines of the record beyond the MaxReadings taken.
  int readingsBeyondCapacity = 0;
  // Readings taken whose MN/2 of 300 m or more gives no branch (1..5).
  int readingsWithoutBranch = 0;
};

// What the user must learn of a record read with readings left out: one
// line per kind, empty when nothing was left out.
std::string kmtNoticeText(const KmtReadResult& read);

// Branch number of a reading measured with MN/2 = m metres (1..6).
int kmtBranchOfMnHalf(float mnHalf);

// Reads record recordIndex (counted from 0) of the file at path into the
// texts, pointNumber, profileNumber and the readings of s. Nothing is touched
// unless the record's "n" line has been found. The record's readings end at
// the first line that is not a valid reading, or after MaxReadings readings.
KmtReadResult readKmtRecord(CurveWindowState& s, const char* path, int recordIndex);

// The number of output branches the writer uses (0 when nothing is merged).
int kmtOutputBranchCount(const CurveWindowState& s);

// The bytes of the current, merged sounding as one KMT record. The first
// record of a new file has no CR LF before its "n" line.
std::string formatKmtRecord(const CurveWindowState& s, bool firstRecordOfNewFile);

}  // namespace orv
