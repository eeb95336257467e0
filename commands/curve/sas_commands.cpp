#include "commands/curve/sas_commands.h"

#include "commands/curve/instrument_commands.h"
#include "core/curve/sas_file.h"

namespace orv {

namespace {

constexpr const char* CannotOpenSas = "Cannot open SAS file.";

}  // namespace

int readSasFile(CurveSession& c) {
  return readInstrumentReadings(
      c, {readSasData, ReadingOrigin::Sas, ReadingOrigin::Sas, CannotOpenSas});
}

void openSasFile(CurveSession& c) {
  ui::FileDialogRequest request;
  request.title = "Otevřít aparatury SAS amp";
  openInstrumentReadings(c, request, readSasFile, CannotOpenSas);
}

}  // namespace orv
