#include "core/section/dxf_settings.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/file_lookup.h"
#include "base/line_reader.h"
#include "base/replacing_file.h"
#include "core/curve/settings_file.h"

namespace orv {
namespace {

constexpr const char* kHeader = "soubor nastavení a inicializačních parametrů programu ORV";

// One setting line: its key and the field behind it, a real or an integer.
struct Entry {
  const char* key;
  float DxfSettings::*real;
  int32_t DxfSettings::*integer;
};

// The file's order, which is the only thing the reader relies on.
constexpr Entry kEntries[] = {
    {"převýšení_exportovaného_řezu_UCM_(float)", &DxfSettings::dxfExaggeration, nullptr},
    {"velikost_vyššího_textu_UCM_(float)", &DxfSettings::dxfTextLarge, nullptr},
    {"velikost_nižšího_textu_UCM_(float)", &DxfSettings::dxfTextSmall, nullptr},
    {"krok_ticu_x_UCM_(int)", nullptr, &DxfSettings::dxfTickX},
    {"krok_popisu_x_UCM_(int)", nullptr, &DxfSettings::dxfLabelX},
    {"krok_ticu_z_UCM_(int)", nullptr, &DxfSettings::dxfTickZ},
    {"krok_popisu_z_UCM_(int)", nullptr, &DxfSettings::dxfLabelZ},
    {"šířka_kříže_hloubky_rozhraní_VES_UCM_(float)", &DxfSettings::dxfCrossWidth, nullptr},
    {"výška_kříže_hloubky_rozhraní_VES_UCM_(float)", &DxfSettings::dxfCrossHeight, nullptr},
    {"šířka_šipky_nad_bodem_VES_UCM_(float)", &DxfSettings::dxfArrowWidth, nullptr},
    {"výška_šipky_nad_bodem_VES_UCM_(float)", &DxfSettings::dxfArrowHeight, nullptr},
};

constexpr std::size_t HeaderBuffer = 100;
constexpr std::size_t LineBuffer = 150;

// A line cut to the buffer; the rest of a longer line is skipped, so that it
// cannot shift every setting after it by one line.
bool nextLine(LineReader& in, char* buf, std::size_t size) {
  if (!in.next(buf, size)) return false;
  char rest[LineBuffer];
  const char* piece = buf;
  for (std::size_t n = std::strlen(piece); n > 0 && piece[n - 1] != '\n'; n = std::strlen(piece)) {
    if (!in.next(rest, sizeof rest)) break;
    piece = rest;
  }
  return true;
}

}  // namespace

std::string dxfSettingsPath(const std::string& folder) {
  return findFileIgnoringCase(folder, "orv.ini");
}

bool readDxfSettingsFile(DxfSettings& s, const char* path) {
  LineReader in(path);
  if (!in.ok()) return false;
  const DxfSettings defaults;
  for (const Entry& e : kEntries) {
    if (e.real) s.*e.real = defaults.*e.real;
    if (e.integer) s.*e.integer = defaults.*e.integer;
  }
  char line[LineBuffer];
  if (!nextLine(in, line, HeaderBuffer)) return true;
  for (const Entry& e : kEntries) {
    if (!nextLine(in, line, LineBuffer)) break;
    if (e.real) {
      float v = 0.0f;
      // "inf" and "nan" convert too, but no drawing can be made with them.
      if (cscan(line, "%*s %f", &v) == 1 && std::isfinite(v)) s.*e.real = v;
    } else {
      int v = 0;
      if (cscan(line, "%*s %i", &v) == 1) s.*e.integer = v;
    }
  }
  return true;
}

void readDxfSettings(DxfSettings& s, const std::string& folder, ui::Dialogs& dialogs) {
  s.iniFileName = dxfSettingsPath(folder);
  if (readDxfSettingsFile(s, s.iniFileName.c_str())) return;
  dialogs.message(missingSettingsFileMessage(s.iniFileName));
  const std::string keep = s.dxfFileName;
  const std::string ini = s.iniFileName;
  s = DxfSettings{};
  s.dxfFileName = keep;
  s.iniFileName = ini;
}

std::string dxfSettingsFileText(const DxfSettings& s) {
  std::string utf8 = std::string(kHeader) + "\r\n";
  for (const Entry& e : kEntries) {
    utf8 += e.key;
    utf8 += ' ';
    utf8 += e.real ? formatF(double(s.*e.real)) : cformat("%i", int(s.*e.integer));
    utf8 += "\r\n";
  }
  return utf8ToCp1250(utf8);
}

bool writeDxfSettingsFile(const DxfSettings& s, const char* path) {
  return replaceFileContents(path, dxfSettingsFileText(s));
}

bool writeDxfSettings(const DxfSettings& s, ui::Dialogs& dialogs) {
  if (!s.iniFileName.empty() && writeDxfSettingsFile(s, s.iniFileName.c_str())) return true;
  dialogs.message("Nemožno ukládat do ini souboru!");
  return false;
}

}  // namespace orv
