// orv.ini: the eleven settings of the section's DXF export, in the folder
// that was current at start-up. Read once when the section window is created,
// written when the program ends, however it ends; the export's automatic
// axis steps change them in memory in between.
#pragma once

#include <cstdint>
#include <string>

#include "ui/dialogs.h"

namespace orv {

struct DxfSettings {
  // Chainage is divided by it: the drawing's horizontal compression.
  float dxfExaggeration = 5.0f;
  float dxfTextLarge = 0.15f;   // titles and point names
  float dxfTextSmall = 0.1f;    // axis labels and resistivities
  int32_t dxfTickX = 5;         // m
  int32_t dxfLabelX = 10;       // m
  int32_t dxfTickZ = 1;         // m
  int32_t dxfLabelZ = 2;        // m
  float dxfCrossWidth = 2.25f;  // half width of an interface cross, drawing units
  float dxfCrossHeight = 0.15f;
  float dxfArrowWidth = 1.0f;   // m of chainage
  float dxfArrowHeight = 1.0f;  // m
  // The last chosen DXF file, proposed by the next export's dialog.
  std::string dxfFileName;
  // The orv.ini the settings are written to: set by readDxfSettings.
  std::string iniFileName;
};

// orv.ini in folder (the start-up folder), with this platform's separator and
// found without regard to letter case, so a file copied from Windows as
// ORV.INI is read and written back under its own name.
std::string dxfSettingsPath(const std::string& folder);

// Reads the file at path by line position (the keys are not checked). A
// present file starts from the defaults, so a missing line or a value that
// does not convert keeps its default. Returns false when the file cannot be
// opened; the settings are then left as they were.
bool readDxfSettingsFile(DxfSettings& s, const char* path);

// The section window's start-up: iniFileName from folder, then the file; a
// missing file is said ("Nenalezen ini soubor! " and its path) and means the
// defaults.
// dxfFileName is not touched.
void readDxfSettings(DxfSettings& s, const std::string& folder, ui::Dialogs& dialogs);

// The whole file: Windows-1250 bytes, CR LF after every line, "%f" and "%i"
// values in the C locale.
std::string dxfSettingsFileText(const DxfSettings& s);

// Creates (or truncates) path with the text above; false when that fails.
bool writeDxfSettingsFile(const DxfSettings& s, const char* path);

// The end of the program: writes iniFileName; says "Nemožno ukládat do ini
// souboru!" when it cannot.
bool writeDxfSettings(const DxfSettings& s, ui::Dialogs& dialogs);

}  // namespace orv
