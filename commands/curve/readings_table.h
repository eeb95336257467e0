// The readings of the sounding edited as a table ("Tabulka měření"): AB/2 and
// MN/2 anywhere (mapped onto the grid as every reader maps them), the
// apparent resistivity, the branch, and whether the reading is used. "Použít"
// completes and merges the edited readings as after reading a file; the model
// stays and is fitted against the new composite curve.
#pragma once

#include <string_view>
#include <vector>

#include "commands/curve/curve_session.h"

namespace orv {

struct TableReading {
  float abHalf = 0;  // m
  float mnHalf = 0;  // m
  float rho = 0;     // ohm.m
  int branch = 1;    // 1..5
  bool used = true;  // false: kept, but left out of the merge and the fit
  int source = -1;   // the sounding's reading it shows (its "s" and IP data), -1 typed
};

enum class ReadingColumn { AbHalf, MnHalf, Rho, Branch };

// The sounding's readings as rows, in their order.
std::vector<TableReading> readingsTableRows(const CurveWindowState& s);

// A typed cell into row: either decimal separator; a text that does not
// convert keeps the old value with "Soustřeďte se (číslo)!" (the branch:
// "Soustřeďte se (celé číslo)!"); an AB/2 that the grid cannot hold, an MN/2
// or a resistivity that is not positive and a branch outside 1..5 are
// refused with their message. Returns true when the value was taken.
bool setReadingCell(ui::Dialogs& dialogs, TableReading& row, ReadingColumn column,
                    std::string_view text);

// The row proposed after row `after` (-1: at the top): one grid step further
// along the same branch, with the same MN/2 and resistivity.
TableReading proposedReading(const std::vector<TableReading>& rows, int after);

// "Použít": the rows become the sounding's readings (at most MaxReadings, at
// least one used), are completed and merged onto branch 2, the model's curve
// and misfit follow, and the sounding is written back to its section point
// while fromSection. False, with the sounding unchanged, after a message.
bool applyReadingsTable(CurveSession& c, const std::vector<TableReading>& rows);

}  // namespace orv
