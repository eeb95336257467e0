#include "commands/curve/manual_input.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/kmt_commands.h"
#include "commands/curve/oax_commands.h"
#include "core/curve/grid_index.h"
#include "core/interpretation/branch_merging.h"

namespace orv {
namespace {

constexpr const char* IntegerPlease = "Soustřeďte se (celé číslo)!";
constexpr const char* SkipCaption =
    "Počet vynechaných AB/2(měřeno od 1m=0,1.3m=1,1.68,2.18,2.82,3.66,4.74,6.15,7.97,10.29..): ";
constexpr const char* RunningTitle = "ORV-program na zpracování VES - probíhá: ";
constexpr const char* OpenedTitle = "ORV-program na zpracování VES - otevřen: ";
// A typed spacing beyond this is not believed.
constexpr double LongestTypedAbHalf = 1000.0;

struct Answer {
  bool given;        // the box was confirmed
  std::string text;  // what was typed
};

// An integer asked in a box: the typed value, or the old one with the
// message when it does not convert; a cancelled box keeps the old value.
Answer askInteger(CurveSession& c, const char* caption, const char* prompt,
                  const std::string& defaultText, int32_t& value) {
  std::optional<std::string> text = c.dialogs.inputQuery(caption, prompt, defaultText);
  if (!text) return {false, ""};
  if (std::optional<int> v = parseUserInt(*text))
    value = *v;
  else
    c.dialogs.message(IntegerPlease);
  return {true, *text};
}

void clearBranchTables(CurveWindowState& s) {
  for (int k = 0; k < GridCells; ++k)
    for (int j = 0; j < BranchSlots; ++j) {
      s.mergedRho[k][j] = EmptyCell;
      s.cellAbHalf[k][j] = EmptyCell;
    }
  for (int j = 0; j < BranchSlots; ++j) s.branchMnHalf[j] = EmptyCell;
}

// A typed or drawn reading lies on the grid and has no IP data.
void setReading(CurveWindowState& s, int i, int k, float rho, int branch) {
  s.readingAbHalf[i] = gridValueOf(k);
  s.readingRho[i] = rho;
  s.readingBranch[i] = branch;
  s.readingMnHalf[i] = ManualBranchMnHalf[branch];
  s.readingS[i] = 0;
  s.readingIpReference[i] = 0;
  s.decaySampleCount[i] = 0;
}

std::string profileName(CurveSession& c) {
  return c.section.currentProfileName();
}

// How one resistivity box ended.
enum class Typed { Value, EndOfBranch };

// Asks the resistivity of grid cell k until it converts; a cancelled box ends
// the branch like the default 0.
Typed askResistivity(CurveSession& c, int k, float& rho) {
  const double a = gridValueOf(k);
  const std::string prompt =
      "řádek:" + cformat("%i", k + 1) + ", AB/2=" + cformat("%.2f ", a) + "m -> REZISTIVITA: ";
  for (;;) {
    std::optional<std::string> text =
        c.dialogs.inputQuery("Zadej rezistivitu:  (konec větve ENTER)", prompt, "0");
    if (!text) return Typed::EndOfBranch;
    std::optional<double> v = parseUserReal(*text);
    // A resistivity is a positive number; 0 ends the branch.
    if (!v || !std::isfinite(*v) || *v < 0 || static_cast<float>(*v) > 3.0e38f) {
      c.dialogs.message("Soustřeďte se (tečka je desetinná čárka)!");
      continue;
    }
    rho = static_cast<float>(*v);
    return rho == 0 ? Typed::EndOfBranch : Typed::Value;
  }
}

}  // namespace

bool completeManualReadings(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.fromSection = true;
  const bool ok = readInstrumentFile(c) == 1;
  if (ok) {
    resetInterpretation(c);
    if (!s.mouseEntryActive)
      c.chrome.setCaption(OpenedTitle + std::string(textOf(s.instrumentFilePath)));
  } else {
    c.dialogs.message(readingFailedMessage(""));
  }
  s.fromSection = false;
  mergeBranches(c, 2);
  return ok;
}

void keyboardEntry(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.fromSection = false;
  const int32_t oldPointNumber = s.pointNumber;
  askInteger(c, "Zadej číslo bodu VES: ", "číslo bodu: ", cformat("%i", s.pointNumber),
             s.pointNumber);

  int32_t branches = s.branchCount;
  Answer typed =
      askInteger(c, "Zadej počet větví tohoto bodu VES: ", "počet větví: ", "1", branches);
  if (branches < 1 || branches > MaxBranch) {
    c.dialogs.message("Počet větví" + (typed.given ? typed.text : cformat("%i", branches)) +
                      " jste asi zadal špatně. Chcete-li to zkusit znovu stlačte Ctrl+R");
    s.pointNumber = oldPointNumber;
    return;
  }
  // The sounding on screen keeps its cells until the new count is known good.
  int32_t first = s.gridMinIndex;
  typed = askInteger(c, SkipCaption, "vynechaných AB/2: ", "0", first);
  if (first < 0 || first > 25) {
    c.dialogs.message("Počet vynechaných bodů " +
                      (typed.given ? typed.text : cformat("%i", first)) +
                      " jste asi zadal špatně. Chcete-li to zkusit znovu stlačte Ctrl+R");
    s.pointNumber = oldPointNumber;
    return;
  }
  const int32_t previousFirst = s.gridMinIndex;
  const int32_t previousBoundaries = s.modelBoundaryCount;
  const std::string previousPath(textOf(s.instrumentFilePath));
  s.gridMinIndex = first;

  const std::string path = "manual pf " + profileName(c) + " bod " + cformat("%i", s.pointNumber);
  setText(s.instrumentFilePath, path);
  c.chrome.setCaption(RunningTitle + path);
  s.modelBoundaryCount = 0;
  clearBranchTables(s);

  int i = 0;
  int start = first;
  int32_t overlap = 0;
  for (int b = 1; b <= branches; ++b) {
    int k = start;
    for (; k < GridCells && i < MaxReadings; ++k) {
      float rho = 0;
      if (askResistivity(c, k, rho) == Typed::EndOfBranch) break;
      if (gridValueOf(k) > LongestTypedAbHalf) {
        c.dialogs.message("Nevěř jim - oba figuranti jsou už v nejbližší hospodě!");
        break;
      }
      s.mergedRho[k][b] = s.mergedRho[k][0] = rho;
      setReading(s, i, k, rho, b);
      s.readingCount = i + 1;
      s.gridMaxIndex = k;
      completeManualReadings(c);
      ++i;
    }
    const int last = k - 1;
    if (b < branches) {
      int32_t points = overlap + 1;
      askInteger(c, "Zadej počet bodu tohoto prevazu: ", "počet bodu prevazu: ", "2", points);
      overlap = points - 1;
      // The next branch starts on the overlap's first cell, within the grid.
      start = static_cast<int>(
          std::clamp<int64_t>(static_cast<int64_t>(last) - overlap, 0, GridCells - 1));
    }
  }
  if (i == 0) {
    // Not a single value: the sounding on screen stays as it was.
    s.gridMinIndex = previousFirst;
    s.modelBoundaryCount = previousBoundaries;
    setText(s.instrumentFilePath, previousPath);
    mergeBranches(c, 2);
    c.chrome.setCaption(OpenedTitle + previousPath);
    return;
  }
  s.branchCount = branches;
  c.chrome.setCaption(OpenedTitle + path);
}

void manualInputCommand(CurveSession& c) {
  c.s.showDecayCurves = false;
  c.chrome.setChecked("zobrazujnezobrazujvybjeckivky1", false);
  keyboardEntry(c);
}

void mouseEntry(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.fromSection = false;
  askInteger(c, "Zadej číslo bodu VES: ", "číslo bodu: ", cformat("%i", s.pointNumber),
             s.pointNumber);
  std::string profile = profileName(c);
  if (std::optional<std::string> text =
          c.dialogs.inputQuery("Zadej číslo profilu:", "název profilu: ", profile)) {
    profile = *text;
    if (std::optional<int> v = parseUserInt(*text))
      s.profileNumber = *v;
    else
      c.dialogs.message(IntegerPlease);
  }
  int32_t first = s.gridMinIndex;
  askInteger(c, SkipCaption, "vynechaných AB/2: ", "0", first);
  int32_t last = s.gridMaxIndex;
  askInteger(c, "Zadej číslo posledního bodu křivky VES 10=10.29, 15=37.8, 20=138, 23=301,1 : ",
             "číslo posledního bodu křivky: ", "20", last);
  // The curve lies on the grid's cells; a last cell before the first gives a
  // curve of one point.
  if (first > GridCells - 1 || last > GridCells - 1)
    c.dialogs.message(cformat("Křivka VES končí nejdále bodem %i.", GridCells - 1));
  first = std::clamp(first, 0, GridCells - 1);
  last = std::clamp(last, first, GridCells - 1);

  s.branchCount = 1;
  const std::string path = "myší pf " + profile + " bod " + cformat("%i", s.pointNumber);
  setText(s.instrumentFilePath, path);
  c.chrome.setCaption(RunningTitle + path);
  s.modelBoundaryCount = 0;
  clearBranchTables(s);
  for (int k = first; k <= last; ++k) {
    const float a = gridValueOf(k);
    s.mergedRho[k][1] = s.mergedRho[k][0] = a;
    setReading(s, k - first, k, a, 1);
  }
  s.gridMinIndex = first;
  s.gridMaxIndex = last;
  s.readingCount = last - first + 1;
  completeManualReadings(c);
  s.branchCount = 1;

  c.chrome.setCaption("ORV-manuální vstup křivky VES:" + path + ": UPRAV KŘIVKU MYŠÍ POTOM F4 ");
  s.editCompositeMode = true;
  s.mouseEntryActive = true;
  s.editGridIndex = -1;  // no cell is chosen until the mouse has moved
}

bool startPreferredInput(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (s.lastClickOutsidePlot || s.hotLayer != -1 || s.hotBoundary != -1) return false;
  // The clicks of a mode in progress are its own: two corners of a model or
  // two composite cells set in quick succession are not a double click.
  if (s.modelBuildMode || s.editCompositeMode || s.editIpOutlierMode || s.mouseDragging)
    return false;
  if (s.inputMode < 0 || s.inputMode > 4) return false;
  s.fromSection = false;
  if (!s.sectionWindowShown) {
    s.sectionWindowShown = true;
    c.section.show();
  }
  switch (s.inputMode) {
    case 0:
    case 1:
      keyboardEntry(c);
      break;
    case 2:
      mouseEntry(c);
      break;
    case 3:
      openInstrumentFile(c);
      break;
    default:
      readNextKmtRecord(c);
      break;
  }
  return true;
}

}  // namespace orv
