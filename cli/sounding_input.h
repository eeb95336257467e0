// One sounding read for orv-cli as the curve window reads it: a window state
// of its own with dialogs that write to standard error and a picture that
// draws nowhere.
#pragma once

#include <string>

#include "base/zeroed_block.h"
#include "cli/headless_ui.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/no_section.h"
#include "ui/null_canvas.h"

namespace orv::cli {

struct CurveRun {
  ZeroedBlock<CurveWindowState> state;
  StderrDialogs dialogs;
  ui::NullCanvas canvas;
  NullChrome chrome;
  NoSection section;
  CurveSession c{*state, dialogs, canvas, chrome, section};

  CurveRun();
};

enum class SoundingFile { Kmt, Oax, Sas, Table };

// By the file's extension, in any letter case: .oax, .sas, a table (.csv or
// .txt); anything else is KMT.
SoundingFile soundingFileKind(const std::string& path);

struct InstrumentRead {
  bool ok = false;
  bool ipHeader = false;  // an OAX file with the IP header
  std::string failure;    // one line when !ok
};

// Reads an OAX or SAS file, or a table of readings, and derives its
// readings; the reader's notices (a table's lines left out) go to standard
// error.
InstrumentRead readInstrumentFile(CurveRun& run, const std::string& path, SoundingFile kind);

}  // namespace orv::cli
