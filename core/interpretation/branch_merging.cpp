#include "core/interpretation/branch_merging.h"

#include <cmath>

#include "base/c_format.h"

namespace orv {
namespace {

int clampCell(int k) {
  return k < 0 ? 0 : (k >= GridCells ? GridCells - 1 : k);
}

// Per cell and branch sums of one pass over the readings.
struct CellSums {
  double logRho[GridCells][BranchSlots];
  double s[GridCells][BranchSlots];
  int n[GridCells][BranchSlots];
};

// A reading belongs to a cell of the tables when its branch and grid index
// fit them.
bool liesInTables(const CurveWindowState& s, int m, int firstCell, int lastCell) {
  const int j = s.readingBranch[m];
  const int g = s.readingGridIndex[m];
  return j >= 1 && j <= MaxBranch && g >= firstCell && g <= lastCell;
}

// Only a positive resistivity has a logarithm: a reading without one still
// names its cell's AB/2 and its branch's MN/2, but stays out of the means.
bool hasResistivity(const CurveWindowState& s, int m) {
  const float rho = s.readingRho[m];
  return rho > 0 && std::isfinite(rho);
}

void clearTables(CurveWindowState& s) {
  for (int g = 0; g < GridCells; ++g) {
    for (int j = 0; j < BranchSlots; ++j) {
      s.mergedRho[g][j] = EmptyCell;
      s.cellAbHalf[g][j] = EmptyCell;
      s.cellS[g][j] = 1e8f;
      s.cellRho[g][j] = 0;
    }
  }
  for (int j = 0; j < BranchSlots; ++j) s.branchMnHalf[j] = EmptyCell;
}

// Geometric means of resistivity, arithmetic means of "s", the AB/2 of the
// last reading per cell and the MN/2 of the last reading per branch (in cell
// order, then reading order).
void fillCells(CurveWindowState& s, int firstCell, int lastCell) {
  CellSums sums;  // only the cells of the sounding are used
  for (int g = firstCell; g <= lastCell; ++g) {
    for (int j = 1; j <= MaxBranch; ++j) {
      sums.logRho[g][j] = 0;
      sums.s[g][j] = 0;
      sums.n[g][j] = 0;
    }
  }
  int mnCell[BranchSlots] = {-1, -1, -1, -1, -1, -1};
  for (int m = 0; m < s.readingCount; ++m) {
    if (!liesInTables(s, m, firstCell, lastCell)) continue;
    const int j = s.readingBranch[m];
    const int g = s.readingGridIndex[m];
    s.cellAbHalf[g][j] = s.readingAbHalf[m];
    if (g >= mnCell[j]) {
      mnCell[j] = g;
      s.branchMnHalf[j] = s.readingMnHalf[m];
    }
    if (!hasResistivity(s, m)) continue;
    sums.logRho[g][j] += std::log10(static_cast<double>(s.readingRho[m]));
    sums.s[g][j] += s.readingS[m];
    ++sums.n[g][j];
  }
  for (int g = firstCell; g <= lastCell; ++g) {
    for (int j = 1; j <= s.branchCount; ++j) {
      const int n = sums.n[g][j];
      if (n == 0) continue;
      s.cellS[g][j] = static_cast<float>(sums.s[g][j] / n);
      s.cellRho[g][j] = static_cast<float>(std::pow(10.0, sums.logRho[g][j] / n));
    }
  }
}

}  // namespace

MergeOutcome mergeBranchesCore(CurveWindowState& s, int onto) {
  MergeOutcome out{};
  clearTables(s);
  if (s.readingCount < 0) s.readingCount = 0;
  if (s.readingCount > MaxReadings) s.readingCount = MaxReadings;

  s.branchCount = 0;
  for (int m = 0; m < s.readingCount; ++m) {
    const int j = s.readingBranch[m];
    if (j >= 1 && j <= MaxBranch && j > s.branchCount) s.branchCount = j;
  }
  const int bc = s.branchCount;
  const int first = clampCell(s.gridMinIndex);
  const int last = clampCell(s.gridMaxIndex);
  fillCells(s, first, last);

  // Shift between consecutive branches, log10 ohm.m: d[j] brings branch j + 1
  // onto the level of branch j.
  double d[BranchSlots] = {0, 0, 0, 0, 0, 0};
  for (int j = 1; j < bc; ++j) {
    double sum = 0;
    int n = 0;
    for (int g = first; g <= last; ++g) {
      if (s.cellRho[g][j] > 0 && s.cellRho[g][j + 1] > 0) {
        sum += std::log10(static_cast<double>(s.cellRho[g][j])) -
               std::log10(static_cast<double>(s.cellRho[g][j + 1]));
        ++n;
      }
    }
    if (n > 0) {
      d[j] = sum / n;
    } else {
      out.missingOverlapLower[out.missingOverlapCount++] = j;
    }
  }

  const int t = onto < 1 ? 1 : (onto > MaxBranch ? MaxBranch : onto);
  for (int j = 1; j <= bc; ++j) {
    double shift = 0;
    if (j < t) {
      for (int k = j; k <= t - 1 && k <= bc - 1; ++k) shift -= d[k];
    } else if (j > t) {
      for (int k = t; k <= j - 1; ++k) shift += d[k];
    }
    for (int g = first; g <= last; ++g) {
      const float rho = s.cellRho[g][j];
      if (!(rho > 0)) continue;
      s.mergedRho[g][j] =
          j == t ? rho
                 : static_cast<float>(std::pow(10.0, std::log10(static_cast<double>(rho)) + shift));
    }
  }

  for (int g = first; g <= last; ++g) {
    int count = 0;
    double sumLog = 0;
    int lastBranch = 0;
    for (int j = 1; j <= bc; ++j) {
      if (s.mergedRho[g][j] > 0) {
        ++count;
        sumLog += std::log10(static_cast<double>(s.mergedRho[g][j]));
        lastBranch = j;
      }
    }
    // Always on: the window switches averaging on after its settings are read.
    if (count >= 2) {
      const float mean = static_cast<float>(std::pow(10.0, sumLog / count));
      for (int j = 1; j <= bc; ++j)
        if (s.mergedRho[g][j] > 0) s.mergedRho[g][j] = mean;
    }
    if (lastBranch > 0) s.mergedRho[g][0] = s.mergedRho[g][lastBranch];
  }

  s.compositeReady = bc >= 1;
  return out;
}

std::string missingOverlapMessage(int j) {
  return cformat("Mezi větví%i a %i nemáš převaz!, snos byl proveden s delta Rz = 0 !!!", j, j + 1);
}

}  // namespace orv
