#include "commands/curve/readings_table.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/grid_index.h"
#include "core/curve/readings_snapshot.h"
#include "core/curve/table_file.h"
#include "core/interpretation/branch_merging.h"

namespace orv {
namespace {

constexpr const char* NoReadingUsed = "V tabulce není žádné použité měření.";
constexpr const char* TypedTitle = "tabulka měření";

// Everything of a reading the table does not show, moved with its row.
struct Attached {
  float s[MaxReadings];
  float ipReference[MaxReadings];
  int32_t decayCount[MaxReadings];
  float decayValue[MaxReadings][MaxDecaySamples];
  int32_t decayTime[MaxReadings][MaxDecaySamples];
  float ipValue[MaxReadings][MaxIpWindows];
};

void attach(Attached& a, int to, const CurveWindowState& s, int from) {
  if (from < 0) {
    a.s[to] = 0;
    a.ipReference[to] = 0;
    a.decayCount[to] = 0;
    std::memset(a.ipValue[to], 0, sizeof a.ipValue[to]);
    return;
  }
  a.s[to] = s.readingS[from];
  a.ipReference[to] = s.readingIpReference[from];
  a.decayCount[to] = s.decaySampleCount[from];
  std::memcpy(a.decayValue[to], s.decaySampleValue[from], sizeof a.decayValue[to]);
  std::memcpy(a.decayTime[to], s.decaySampleTime[from], sizeof a.decayTime[to]);
  std::memcpy(a.ipValue[to], s.ipValue[from], sizeof a.ipValue[to]);
}

void takeRows(CurveWindowState& s, const std::vector<TableReading>& rows) {
  auto a = std::make_unique<Attached>();
  const int n = static_cast<int>(rows.size());
  for (int i = 0; i < n; ++i)
    attach(*a, i, s, rows[i].source >= 0 && rows[i].source < s.readingCount ? rows[i].source : -1);
  for (int i = 0; i < n; ++i) {
    const TableReading& r = rows[i];
    s.readingAbHalf[i] = r.abHalf;
    s.readingMnHalf[i] = r.mnHalf;
    s.readingRho[i] = r.rho;
    s.readingBranch[i] = r.used ? r.branch : -r.branch;
    s.readingS[i] = a->s[i];
    s.readingIpReference[i] = a->ipReference[i];
    s.decaySampleCount[i] = a->decayCount[i];
    std::memcpy(s.decaySampleValue[i], a->decayValue[i], sizeof s.decaySampleValue[i]);
    std::memcpy(s.decaySampleTime[i], a->decayTime[i], sizeof s.decaySampleTime[i]);
    std::memcpy(s.ipValue[i], a->ipValue[i], sizeof s.ipValue[i]);
  }
  s.readingCount = n;
}

// The first row the sounding cannot take, told with its number.
bool rowsAcceptable(ui::Dialogs& dialogs, const std::vector<TableReading>& rows) {
  if (rows.size() > static_cast<std::size_t>(MaxReadings)) {
    dialogs.message(cformat("Nejvýše %i měření.", MaxReadings));
    return false;
  }
  bool used = false;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TableReading& r = rows[i];
    if (const char* why = readingRefusal(r.abHalf, r.mnHalf, r.rho, r.branch)) {
      dialogs.message(cformat("řádek %i: %s", static_cast<int>(i + 1), why));
      return false;
    }
    used = used || r.used;
  }
  if (!used) dialogs.message(NoReadingUsed);
  return used;
}

}  // namespace

std::vector<TableReading> readingsTableRows(const CurveWindowState& s) {
  std::vector<TableReading> rows;
  const int n =
      s.readingCount < 0 ? 0 : (s.readingCount > MaxReadings ? MaxReadings : s.readingCount);
  for (int i = 0; i < n; ++i) {
    TableReading r;
    r.abHalf = s.readingAbHalf[i];
    r.mnHalf = s.readingMnHalf[i];
    r.rho = s.readingRho[i];
    r.branch = s.readingBranch[i] < 0 ? -s.readingBranch[i] : s.readingBranch[i];
    r.used = !readingMasked(s, i);
    r.source = i;
    rows.push_back(r);
  }
  return rows;
}

bool setReadingCell(ui::Dialogs& dialogs, TableReading& row, ReadingColumn column,
                    std::string_view text) {
  TableReading changed = row;
  if (column == ReadingColumn::Branch) {
    const std::optional<int> b = parseUserInt(text);
    if (!b) {
      dialogs.message("Soustřeďte se (celé číslo)!");
      return false;
    }
    changed.branch = *b;
  } else {
    const std::optional<double> v = parseUserReal(text);
    if (!v || !std::isfinite(static_cast<float>(*v))) {
      dialogs.message("Soustřeďte se (číslo)!");
      return false;
    }
    float& to = column == ReadingColumn::AbHalf   ? changed.abHalf
                : column == ReadingColumn::MnHalf ? changed.mnHalf
                                                  : changed.rho;
    to = static_cast<float>(*v);
  }
  if (const char* why =
          readingRefusal(changed.abHalf, changed.mnHalf, changed.rho, changed.branch)) {
    std::string text(why);
    text += "!";
    dialogs.message(text);
    return false;
  }
  row = changed;
  return true;
}

TableReading proposedReading(const std::vector<TableReading>& rows, int after) {
  TableReading r;
  r.abHalf = 1.0f;
  r.mnHalf = 0.5f;
  r.rho = 100.0f;
  if (after < 0 || after >= static_cast<int>(rows.size())) return r;
  const TableReading& at = rows[after];
  r = at;
  r.source = -1;
  r.used = true;
  const int32_t k = gridIndexOf(at.abHalf).k;
  if (k >= 0 && k + 1 < GridCells) r.abHalf = gridValueOf(k + 1);
  return r;
}

bool applyReadingsTable(CurveSession& c, const std::vector<TableReading>& rows) {
  CurveWindowState& s = c.s;
  if (!rowsAcceptable(c.dialogs, rows)) return false;
  const ReadingsSnapshot previous(s);
  const bool newSounding = !s.curveLoaded;
  const int32_t sourceKind = s.sourceKind;
  takeRows(s, rows);
  if (deriveReadings(c, ReadingOrigin::InMemory) != 1) {
    previous.restore(s);
    c.dialogs.message(readingFailedMessage(""));
    return false;
  }
  if (newSounding) {
    resetInterpretation(c);
    setText(s.instrumentFilePath, TypedTitle);
    c.chrome.setCaption(std::string("ORV-program na zpracování VES - otevřen: ") + TypedTitle);
  } else {
    // The same sounding, whatever completion ran: its origin and its
    // model's history stay.
    s.sourceKind = sourceKind;
    s.modelHistory.adoptReadings(s);
  }
  mergeBranches(c, 2);
  if (s.fromSection) c.section.storeSounding();
  return true;
}

}  // namespace orv
