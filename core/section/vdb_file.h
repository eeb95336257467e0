// The section database file (.vdb, "databáze bodů VES"): the whole database
// of one locality as Windows-1250 records separated by CR LF, the first
// record without a leading break and the file without a final one. Numbers
// are C-locale "%f" reals and decimal integers. A profile block carries its
// IP timing, its points (texts, position, counts, reading rows with the
// composite column and twenty IP values, model rows) and then its HBV lines
// and drawing scales; files of older layouts lack the IP block, the HBV block
// or the scale lines of a profile and are read all the same.
#pragma once

#include <cstdio>

#include "core/section/section_database.h"

namespace orv {

// Drawing scales of a profile whose block has no scale lines.
inline constexpr float OldLayoutScaleX = 0.00004f;  // 1:25000
inline constexpr float OldLayoutScaleZ = 0.0003f;   // 1:3333

// The reader's line buffer; the rest of a longer line is skipped.
inline constexpr int VdbLineBuffer = 4096;

// Writes the records of db to out, streaming it in pieces. Counts beyond a
// capacity are written cut to it, so that the file holds what it announces.
// Returns false when a write failed.
bool writeVdb(const SectionDatabase& db, std::FILE* out);

struct VdbReadResult {
  int code;        // 1 read, 0 the file cannot be opened, -1 the file is no
                   // database (its first record is not the file-name record)
  int pointsRead;  // points of all profiles that the database holds afterwards
  bool truncated;  // the file ended before its counts were met
};

// Reads the file at path over db: texts, counts, points, IP data, HBV lines
// and scales of the profiles 0..mxindex_profilu. fileName, baseFileName, the
// selection and the terrain breaks are not touched, and nothing at all when
// the file is no database. Every count is cut to its capacity before it
// bounds a loop; a number that does not convert leaves its field as it was.
// When the file ends before its counts are met, the counts become what was
// read: a point counts only with its whole block, so nothing of the database
// read before stands under the new counts. The file has no final line break,
// so a record that ends it counts only whole: every field converted, and the
// last figure of a boundary-line or scale record with its six decimals; a
// file that ends after a profile's boundary lines, before its scales, was
// cut. A scale that did not arrive is that of a fresh database.
VdbReadResult readVdb(SectionDatabase& db, const char* path);

}  // namespace orv
