// orvwin.ini: the curve window's display and input preferences, in the
// folder that was current at start-up.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"
#include "ui/dialogs.h"

namespace orv {

// The settings a missing orvwin.ini stands for.
// The look of the curves (B-spline, pen widths, colours) as the program
// comes; the settings file's absence and the display dialog's "implicitní
// hodnoty" differ only in the B-spline resolution.
void applyDefaultLooks(CurveWindowState& s, int32_t splineResolution);

void applyDefaultSettings(CurveWindowState& s);

// Brings every setting into the range the drawing code can work with: pen
// widths 1..50, B-spline order 1..10 and resolution 2..400 (the spline's point
// buffer holds 400), colours cut to 24 bits. The input mode is kept as it is:
// the preference dialog shows no button for an unknown mode and a
// double-click then starts nothing. The screen split is kept as read too: the
// window is sized with it unchecked at start-up (only the screen-split
// command clamps it to 10..90).
void sanitizeSettings(CurveWindowState& s);

// The file really opened: orvwin.ini in StartFolder, with this platform's
// separator, found without regard to letter case (a file copied from Windows
// as ORVWIN.INI is read, and written back under its own name). settingsFilePath keeps the
// documented spelling StartFolder + "\orvwin.INI", which on a case-insensitive system with
// backslash separators names the same file; here it is only shown text.
std::string settingsIoPath(const CurveWindowState& s);

// The message of a settings file missing at start-up: which file, and that
// its defaults are taken. Both settings files are missing at a first start;
// each message names its own.
std::string missingSettingsFileMessage(const std::string& path);

// Sets StartFolder and settingsFilePath from the current folder and reads the
// file; without a file it says so and takes the defaults.
void readSettings(CurveWindowState& s, ui::Dialogs& dialogs);

// Reads an existing settings file at path into s (by line position, keys
// ignored). A present file starts from the defaults, so lines missing at its
// end keep them. Returns false when the file cannot be opened.
bool readSettingsFile(CurveWindowState& s, const char* path);

// The complete file text: Windows-1250, CR LF, C-locale numbers.
std::string settingsFileText(const CurveWindowState& s);

// Writes the file (create or truncate); says "Nemožno ukládat do ini souboru!"
// and returns false when it cannot be created.
bool writeSettings(const CurveWindowState& s, ui::Dialogs& dialogs);
bool writeSettingsFile(const CurveWindowState& s, const char* path);

}  // namespace orv
