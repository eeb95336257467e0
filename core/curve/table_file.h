// Readings typed into a spreadsheet and saved as plain text (CSV or TXT):
// one reading per line -- AB/2, MN/2, apparent resistivity and optionally the
// branch -- separated by tabs, semicolons, commas or blanks, with a decimal
// point or a decimal comma (a comma separator implies the point). Header
// lines before the first reading are skipped, the text may be UTF-8 (with or
// without a byte-order mark), UTF-16 with a byte-order mark or Windows-1250.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/curve/curve_window_state.h"

namespace orv {

// Bytes read from a table file at most; a sheet of 200 readings is a few
// kilobytes, and whatever lies beyond this is no table.
inline constexpr std::size_t TableFileLimit = 4u << 20;

// A line that gave no reading, by its number (from 1) and its text (UTF-8,
// cut to a readable length).
struct TableBadLine {
  int line;
  std::string text;
};

struct TableReadResult {
  int code = 0;               // 1 readings taken, 0 the file cannot be opened, -1 no usable reading
  int readingCount = 0;       // readings taken
  bool branchColumn = false;  // branches from the fourth column, else from the MN/2 changes
  int readingsBeyondCapacity = 0;  // valid readings after the first MaxReadings
  std::vector<TableBadLine> badLines;
};

// Why a reading cannot be taken ("AB/2 musí být větší než 0,6 m", ...), or
// nullptr: AB/2 must lie on the grid, MN/2 and the resistivity must be
// positive, and a branch (0: none given) must be 1..5.
const char* readingRefusal(float abHalf, float mnHalf, float rho, double branch);

// Parses the bytes of a table into s. The readings replace those of s only
// when at least one line gives a usable reading (code 1); otherwise s stays
// as it was. Every reading gets branch 1..5, "s" 0 and no IP data.
TableReadResult parseTableReadings(CurveWindowState& s, std::string_view bytes);

// Reads the file at path (at most TableFileLimit bytes) and parses it.
TableReadResult readTableFile(CurveWindowState& s, const char* path);

// What the user must learn of the lines left out: one line "řádek N: text"
// per bad line (the first ten, then how many more) and the readings beyond
// the capacity; "" when every line was taken.
std::string tableNoticeText(const TableReadResult& read);

// Whether a path names a table by its extension (.csv or .txt, any case).
bool hasTableExtension(std::string_view path);

}  // namespace orv
