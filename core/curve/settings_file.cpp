#include "core/curve/settings_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/file_lookup.h"
#include "base/fixed_text.h"
#include "base/line_reader.h"
#include "base/replacing_file.h"

namespace orv {
namespace {

constexpr int SettingLines = 21;  // header + 20 values

// Line 1 is the header; lines 2..21 are "key value". The key of line 2 runs
// into its value without a blank, as the file has always been written (the
// reader's "%s %i" then finds no number there, which is harmless because the
// construction sets averageOverlaps anyway).
const char* const kHeader = "soubor nastavení a inicializačních parametrů programu ORV";
const char* const kKeys[SettingLines + 1] = {
    nullptr,
    nullptr,
    "zprůměrovat_převazy_(true=1_0=false)_",
    "implicitní_mód_vstupu_dat(0-KMT_nebo_OAXatd,1-ruční) ",
    "bsplajnovat_všechny_zobrazované_křivky_VES_(bspline_krivkyVES=1_implicitně ",
    "stupeň_bsplajnu_(bsplinedegree=3_implicitně) ",
    "rozlišení-bsplajnu_(bsplineresolution=128_implicitně) ",
    "sila_cary_namerene_VES_(1_implicitně) ",
    "sila_cary_snesene_VES_(2_implicitně) ",
    "sila_cary_vypoctene_VES_(2_implicitně) ",
    "sila_cary_model_aktivni_(4_implicitně) ",
    "sila_cary_model_(2_implicitně) ",
    "barva_cary_snesene_VES_(Black_implicitně) ",
    "barva_cary_vypoctene_VES_(clAqua_implicitně) ",
    "barva_cary_model_fix_(clYellow_implicitně) ",
    "barva_cary_model_(clLime_implicitně) ",
    "barva_cary_vetve[1]_(clNavy_implicitně) ",
    "barva_cary_vetve[2]_(clGreen_implicitně) ",
    "barva_cary_vetve[3]_(clRed_implicitně) ",
    "barva_cary_vetve[4]_(clPurple_implicitně) ",
    "barva_cary_vetve[5]_(clYellow_implicitně) ",
    "kolik_procent_ma_prava_cast_obrazovky(norm60procent) ",
};

// The integer member behind line n (2..21); bool settings are handled apart.
template <class State>
auto intMember(State& s, int n) -> decltype(&s.inputMode) {
  switch (n) {
    case 3:
      return &s.inputMode;
    case 5:
      return &s.splineDegree;
    case 6:
      return &s.splineResolution;
    case 7:
      return &s.lineWidthMeasured;
    case 8:
      return &s.lineWidthComposite;
    case 9:
      return &s.lineWidthComputed;
    case 10:
      return &s.lineWidthActiveModel;
    case 11:
      return &s.lineWidthModel;
    case 12:
      return &s.colourComposite;
    case 13:
      return &s.colourComputed;
    case 14:
      return &s.colourModelFixed;
    case 15:
      return &s.colourModel;
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
      return &s.colourBranch[n - 15];
    case 21:
      return &s.screenSplitPercent;
    default:
      return nullptr;
  }
}

int32_t valueOfLine(const CurveWindowState& s, int n) {
  switch (n) {
    case 2:
      return s.averageOverlaps ? 1 : 0;
    case 4:
      return s.splineAllCurves ? 1 : 0;
    default:
      return *intMember(s, n);
  }
}

void storeLine(CurveWindowState& s, int n, int32_t v) {
  if (n == 2)
    s.averageOverlaps = v != 0;
  else if (n == 4)
    s.splineAllCurves = v != 0;
  else if (int32_t* m = intMember(s, n))
    *m = v;
}

// "%s %i": a word, then an integer as the C library's %i reads it (sign,
// octal and hex prefixes). A number beyond int32 does not convert.
bool scanKeyAndValue(const char* line, int32_t& value) {
  char word[160];
  int used = 0;
  if (cscan(line, "%159s%n", word, &used) < 1) return false;
  const char* p = line + used;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  if (*p == '\0') return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(p, &end, 0);
  if (end == p || errno == ERANGE) return false;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int32_t>(v);
  return true;
}

int32_t clampTo(int32_t v, int32_t lo, int32_t hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

void applyDefaultLooks(CurveWindowState& s, int32_t splineResolution) {
  s.splineAllCurves = true;
  s.splineDegree = 3;
  s.splineResolution = splineResolution;
  s.lineWidthMeasured = 1;
  s.lineWidthComposite = 2;
  s.lineWidthComputed = 2;
  s.lineWidthActiveModel = 4;
  s.lineWidthModel = 2;
  s.colourComposite = 0;
  s.colourComputed = 0xFFFF00;
  s.colourModelFixed = 0xFFFF;
  s.colourModel = 0xFF00;
  s.colourBranch[0] = 0;
  s.colourBranch[1] = 0x800000;
  s.colourBranch[2] = 0x8000;
  s.colourBranch[3] = 0xFF;
  s.colourBranch[4] = 0x800080;
  s.colourBranch[5] = 0xFFFF;
}

void applyDefaultSettings(CurveWindowState& s) {
  s.averageOverlaps = true;
  s.inputMode = 3;
  applyDefaultLooks(s, 128);
  s.screenSplitPercent = 65;
}

void sanitizeSettings(CurveWindowState& s) {
  s.splineDegree = clampTo(s.splineDegree, 1, 10);
  s.splineResolution = clampTo(s.splineResolution, 2, 400);
  for (int32_t* w : {&s.lineWidthMeasured, &s.lineWidthComposite, &s.lineWidthComputed,
                     &s.lineWidthActiveModel, &s.lineWidthModel})
    *w = clampTo(*w, 1, 50);
  for (int32_t* c : {&s.colourComposite, &s.colourComputed, &s.colourModelFixed, &s.colourModel})
    *c &= 0x00FFFFFF;
  for (int b = 1; b <= MaxBranch; ++b) s.colourBranch[b] &= 0x00FFFFFF;
}

std::string settingsIoPath(const CurveWindowState& s) {
  return findFileIgnoringCase(textOf(s.StartFolder), "orvwin.ini");
}

bool readSettingsFile(CurveWindowState& s, const char* path) {
  LineReader in(path);
  if (!in.ok()) return false;
  applyDefaultSettings(s);
  char line[150];
  if (in.next(line, 100)) {
    for (int n = 2; n <= SettingLines; ++n) {
      if (!in.next(line, n == 2 ? 100 : 150)) break;
      int32_t v = 0;
      if (scanKeyAndValue(line, v)) storeLine(s, n, v);
    }
  }
  sanitizeSettings(s);
  return true;
}

std::string missingSettingsFileMessage(const std::string& path) {
  return "Nenalezen ini soubor! " + path + "\nBudou načteny implicitní hodnoty";
}

void readSettings(CurveWindowState& s, ui::Dialogs& dialogs) {
  char cwd[PathCapacity];
  if (getcwd(cwd, sizeof cwd) == nullptr) std::strcpy(cwd, ".");
  setText(s.StartFolder, cwd);
  setText(s.settingsFilePath, std::string(cwd) + "\\orvwin.INI");
  const std::string path = settingsIoPath(s);
  if (!readSettingsFile(s, path.c_str())) {
    dialogs.message(missingSettingsFileMessage(path));
    applyDefaultSettings(s);
  }
}

std::string settingsFileText(const CurveWindowState& s) {
  std::string utf8 = std::string(kHeader) + "\r\n";
  for (int n = 2; n <= SettingLines; ++n)
    utf8 += std::string(kKeys[n]) + cformat("%i", static_cast<int>(valueOfLine(s, n))) + "\r\n";
  return utf8ToCp1250(utf8);
}

bool writeSettingsFile(const CurveWindowState& s, const char* path) {
  return replaceFileContents(path, settingsFileText(s));
}

bool writeSettings(const CurveWindowState& s, ui::Dialogs& dialogs) {
  if (writeSettingsFile(s, settingsIoPath(s).c_str())) return true;
  dialogs.message("Nemožno ukládat do ini souboru!");
  return false;
}

}  // namespace orv
