// What orv-cli's picture and export commands share: a profile of a database
// read and drawn as the section window draws it after opening the database,
// and files that are written whole or not at all, never over an existing one.
#pragma once

#include <QGuiApplication>
#include <memory>
#include <string>

#include "base/zeroed_block.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "qt/qimage_canvas.h"
#include "ui/window_chrome.h"

namespace orv::cli {

inline constexpr int ExitError = 1;
inline constexpr int ExitUsage = 2;

// Reports "orv-cli: text" on stderr and returns code.
int fail(int code, const std::string& text);

// The value of --profile: an index 0..19. Returns 0 or the usage code
// (reported).
int parseProfileIndex(const char* text, int& profile);

struct DrawnProfile {
  ZeroedBlock<SectionDatabase> db;
  std::unique_ptr<SectionWindowState> view = std::make_unique<SectionWindowState>();
};

// Reads database and selects profile with the view of a database just
// opened; output names the file that will not be written on failure.
// Returns 0 or the exit code (reported).
int readProfile(const std::string& database, int profile, const std::string& output,
                DrawnProfile& d);

// The colour scale: scalePath when given (it must be read), otherwise
// orvcolres.rsc of the current folder when it is there, else the built-in
// scale. False: reported.
bool loadScale(const std::string& scalePath, ColourScale& scale);

// A GUI application without a display, for fonts and image writers; Qt's own
// notes stay off stderr.
std::unique_ptr<QGuiApplication> startPainting(char* programName);

// Repaints d into canvas for a screen of the given size.
void paint(DrawnProfile& d, ui::QImageCanvas& canvas, ui::ScreenSize screen);

// Fails when path exists.
bool refuseExisting(const std::string& path);

// Writes image to path in format, through path.part renamed when complete;
// never over an existing file. Returns 0 or the exit code (reported).
int saveImageOnce(const QImage& image, const std::string& path, const char* format);

}  // namespace orv::cli
