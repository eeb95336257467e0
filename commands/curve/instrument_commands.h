// The steps the curve window's instrument files (OAX and SAS) go through
// alike: the reading into the window, and the open command around it.
#pragma once

#include "commands/curve/curve_session.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/instrument_file.h"
#include "ui/dialogs.h"

namespace orv {

// One instrument file format as the window reads it.
struct InstrumentFormat {
  InstrumentReadResult (*read)(CurveWindowState& s, const char* path);
  ReadingOrigin origin;          // of a file without an IP header
  ReadingOrigin ipHeaderOrigin;  // of a file with one
  const char* cannotOpen;        // the message of a file that cannot be opened
};

// Reads instrumentFilePath in format (with fromSection set only completes the
// readings already in memory). Returns 1 read, 0 the file cannot be opened
// (format.cannotOpen shown), -1 no usable reading. A file that is not read
// leaves the previous sounding and its IP data as they were. What had to be
// left out of a file that was read is told once.
int readInstrumentReadings(CurveSession& c, const InstrumentFormat& format);

// The open command of an instrument file: the open dialog of request with
// the current instrument file proposed, the chosen file read by read, the
// caption naming it or the refusal (the previous sounding staying on screen
// under its own name), then the merge onto branch 2 that ends every load.
void openInstrumentReadings(CurveSession& c, ui::FileDialogRequest request,
                            int (*read)(CurveSession& c), const char* cannotOpen);

}  // namespace orv
