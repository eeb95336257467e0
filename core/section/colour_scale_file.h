// The colour scale file (.rsc, "škála barev rezistivit"): Windows-1250 lines
// separated by CR LF, without a break after the last one. Line 1 names the
// file as it was written, line 2 holds the key "mxpocet_bodu_barev" and N,
// and each further line one entry k = 0 .. N-1 as "boundary colour " in
// signed decimal. The entry that ends the table is not written: the reader
// reads one line more than the writer writes and, the file having ended,
// repeats the last entry in it.
#pragma once

#include <cstdio>
#include <string_view>

#include "core/section/colour_scale.h"

namespace orv {

// The default scale in the start-up folder, read at start-up.
inline constexpr const char* DefaultColourScaleName = "orvcolres.rsc";

// The longest part of a line the reader keeps; the rest of a longer line is
// skipped, so a long path on line 1 never moves the lines after it.
inline constexpr int RscLineKept = 4096;

// Writes scale to out, line 1 naming writtenPath (the system's own spelling,
// stored in Windows-1250). A count beyond the arrays is written cut to them,
// so that the file holds the entries it announces. Returns false when a write
// failed.
bool writeColourScale(const ColourScale& scale, std::FILE* out, std::string_view writtenPath);

struct ColourScaleReadResult {
  // 1 read; 0 the file cannot be opened; -1 line 2 holds no usable count
  // (none, or a negative one). With 0 and -1 the scale is unchanged.
  int code;
  // The file announced more entries than the table holds: entries 0..499
  // were read and N is 499.
  bool capped;
};

// Reads the file at path into colResBound, colResColor and colResCount; the
// file name field is not touched. Numbers are read as the C library's "%i"
// does (a leading 0 octal, 0x hexadecimal); an entry whose line does not
// convert keeps what it held.
ColourScaleReadResult readColourScale(ColourScale& scale, const char* path);

}  // namespace orv
