#include "commands/section/colour_scale_commands.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>

#include "base/c_format.h"
#include "base/file_lookup.h"
#include "base/fixed_text.h"
#include "base/next_free_name.h"
#include "base/replacing_file.h"
#include "core/section/colour_scale_file.h"

namespace orv {
namespace {

constexpr const char* FirstIntervalMessage = "Zadej barvu pro interval nad 0 ohm.m ";
constexpr const char* BoundaryCaption = "Interval rezistivit zadané barvy je : ";
constexpr const char* NotAnInteger = "Soustřeďte se (celé číslo)!";
constexpr const char* EditingEnds = "konec hrani s barvickama barvu";
constexpr const char* CannotCreate = "Nemožno vytvořit zvolený soubor KMT !";
constexpr const char* NothingChosen = "Nevybral jste žádný soubor";
constexpr const char* CannotOpen = "Cannot open input Color-file.";
constexpr const char* NoCount = "Soubor barevné škály neudává počet barev - škála nebyla načtena.";

constexpr const char* SaveTitle = "Ulož barevnou škálu rezistivit jako";
constexpr const char* OpenTitle = "Načti barevnou škálu rezistivit";

constexpr ui::Colour White = 0xFFFFFF;
constexpr ui::Colour NoColourYet = -1;
// The entry that ends the table must stay inside the arrays.
constexpr int LastEntry = MaxColourEntries - 1;

// The boundary the editor proposes after lower: 30 % more and one ohm.m,
// truncated; held within int32 for boundaries near its end.
int32_t proposedBoundary(int32_t lower) {
  const double p = std::trunc(static_cast<double>(lower) * 1.3 + 1.0);
  if (p >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (p <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(p);
}

// A path longer than the name buffer would be kept cut, and the next save
// would name another file.
bool fitsNameBuffer(const std::string& path) {
  return path.size() < static_cast<std::size_t>(PathCapacity);
}

// Presets the name field with the default file and returns its path whole
// (the field would hold a very long one cut).
std::string presetDefaultName(SectionSession& session) {
  std::string path = defaultColourScalePath(session.curve.state());
  setText(session.view.colourScale.colResFileName, path);
  return path;
}

// Writes the scale to the open file f of the given name and closes it. A file
// that could not be written whole is removed: read back it would be a shorter
// scale than the one the user saved.
void tellNotWritten(SectionSession& session, const std::string& name) {
  session.dialogs.message("Soubor " + name +
                          " se nepodařilo celý zapsat - barevná škála nebyla uložena!");
}

void writeAndClose(SectionSession& session, std::FILE* f, const std::string& name) {
  const ColourScale& scale = session.view.colourScale;
  bool written = writeColourScale(scale, f, name);
  written = std::fclose(f) == 0 && written;
  if (written) return;
  std::remove(name.c_str());
  tellNotWritten(session, name);
}

void setColourByResMarks(SectionSession& session, bool on) {
  if (!session.chrome) return;
  session.chrome->setChecked(ColourByResMenuItem, on);
  session.chrome->setChecked(ColourByResPopupItem, on);
}

// Reads path into the scale and tells the user what went wrong; true when
// the scale was read.
bool readReporting(SectionSession& session, const std::string& path) {
  const ColourScaleReadResult r = readColourScale(session.view.colourScale, path.c_str());
  if (r.code == 0) {
    session.dialogs.message(CannotOpen);
    return false;
  }
  if (r.code != 1) {
    session.dialogs.message(NoCount);
    return false;
  }
  if (r.capped)
    session.dialogs.message(
        cformat("Soubor barevné škály má víc barev, než lze načíst (nejvýše %i); zbytek souboru "
                "nebyl načten.",
                LastEntry));
  return true;
}

}  // namespace

std::string defaultColourScalePath(const CurveWindowState& curve) {
  return findFileIgnoringCase(textOf(curve.StartFolder), DefaultColourScaleName);
}

void editColourScale(SectionSession& session) {
  ColourScale& scale = session.view.colourScale;
  ui::Dialogs& dialogs = session.dialogs;
  scale.colResBound[0] = 0;
  int32_t& lastChosen = session.view.lastChosenColour;

  int i = 1;
  for (;;) {
    if (i == 1) {
      // The first interval keeps the upper boundary it has.
      dialogs.message(FirstIntervalMessage);
    } else {
      const int32_t lower = scale.colResBound[i - 1];
      const std::string proposal = cformat("%i", proposedBoundary(lower));
      const std::string prompt = " od " + cformat("%i", lower) + proposal + "ohm.m do : ";
      const std::optional<std::string> typed =
          dialogs.inputQuery(BoundaryCaption, prompt, proposal);
      if (typed) {
        if (const std::optional<int> v = parseUserInt(*typed))
          scale.colResBound[i] = *v;
        else
          dialogs.message(NotAnInteger);
      }
    }

    scale.colResColor[i] = NoColourYet;
    const std::optional<ui::Colour> chosen = dialogs.chooseColour(lastChosen);
    if (!chosen) {
      dialogs.message(EditingEnds);
      break;
    }
    scale.colResColor[i] = *chosen;
    lastChosen = *chosen;
    ++i;
    if (i == LastEntry) {
      // Entry 499 is the last the arrays hold: it ends the table.
      dialogs.message(cformat("Barevná škála je plná - nejvýše %i barev.", LastEntry - 1));
      break;
    }
  }

  // The pass that ended the loop becomes the end of the table; a boundary
  // typed in it is dropped with it.
  scale.colResCount = i;
  scale.colResBound[i] = ColourTableEnd;
  scale.colResColor[i] = White;
}

void saveColourScaleAs(SectionSession& session) {
  ColourScale& scale = session.view.colourScale;
  std::string first = presetDefaultName(session);

  ui::FileDialogRequest request;
  request.title = SaveTitle;
  request.filter = ColourScaleSaveFilter;
  request.defaultExtension = ColourScaleExtension;
  request.presetName = first;
  const std::optional<std::string> chosen = session.dialogs.saveFile(request);
  // A cancelled dialog does not cancel the save: it goes under the default
  // name, numbered like any other.
  if (chosen && !chosen->empty()) {
    if (!fitsNameBuffer(*chosen)) {
      session.dialogs.message(CannotCreate);
      return;
    }
    first = *chosen;
    setText(scale.colResFileName, first);
  }

  NewFile out = createNextFreeFile(first, first, ColourScaleNumberedExtension);
  if (out.file && !fitsNameBuffer(out.name)) {
    std::fclose(out.file);
    std::remove(out.name.c_str());
    out.file = nullptr;
  }
  if (fitsNameBuffer(out.name)) setText(scale.colResFileName, out.name);
  if (!out.file) {
    session.dialogs.message(CannotCreate);
    return;
  }
  writeAndClose(session, out.file, out.name);
}

void saveColourScaleToDefault(SectionSession& session) {
  const std::string name = presetDefaultName(session);
  if (!fitsNameBuffer(name)) {
    session.dialogs.message(CannotCreate);
    return;
  }
  // The default scale is written over: the old one stays until the new one
  // is whole.
  ReplacingFile out(name);
  if (!out.file()) {
    session.dialogs.message(CannotCreate);
    return;
  }
  const bool written = writeColourScale(session.view.colourScale, out.file(), name) && out.commit();
  if (!written) tellNotWritten(session, name);
}

void loadColourScaleWithDialog(SectionSession& session) {
  ColourScale& scale = session.view.colourScale;
  presetDefaultName(session);

  std::string path;
  for (;;) {
    ui::FileDialogRequest request;
    request.title = OpenTitle;
    request.filter = ColourScaleOpenFilter;
    request.defaultExtension = ColourScaleExtension;
    request.presetName = std::string(textOf(scale.colResFileName));
    const std::optional<std::string> chosen = session.dialogs.openFile(request);
    if (!chosen || chosen->empty()) {
      session.dialogs.message(NothingChosen);
      return;
    }
    path = *chosen;
    if (!fitsNameBuffer(path)) {
      session.dialogs.message(CannotOpen);
      return;
    }
    if (fileExists(path)) break;
    session.dialogs.message("Soubor" + path + "nexistuje. Zvolte jiný název!");
  }
  setText(scale.colResFileName, path);

  if (!readReporting(session, path)) return;
  session.view.colourByRes = true;
  // The check marks show the state they switch.
  setColourByResMarks(session, true);
  if (session.redraw) session.redraw();
}

void loadDefaultColourScale(SectionSession& session) {
  // Without a usable default file the section is still drawn in colour: a
  // first start in an empty folder, or a scale file that lost its count.
  if (!readReporting(session, presetDefaultName(session)))
    useBuiltInColourScale(session.view.colourScale);
}

void toggleColourByRes(SectionSession& session) {
  session.view.colourByRes = !session.view.colourByRes;
  setColourByResMarks(session, session.view.colourByRes);
  if (session.redraw) session.redraw();
}

}  // namespace orv
