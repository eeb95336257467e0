// "uložení křivek VP pro vykreslení ve WINSURFeru": the IP grid into a file
// that did not exist before.
#include <cstdio>
#include <optional>

#include "commands/curve/ip_commands.h"
#include "core/interpretation/ip_grid_file.h"
#include "ui/new_file_choice.h"

namespace orv {

void exportIpGrid(CurveSession& c) {
  ui::FileDialogRequest request;
  request.title = "Uložení křivek VP pro vykreslení ve WINSURFu";
  request.filter = "soubory pro WINSURF|*.DAT";
  request.defaultExtension = "DAT";
  const std::optional<std::string> path =
      ui::chooseNewFile(c.dialogs, request, ui::RetryPreset::Original);
  if (!path) return;
  // Created exclusively: a file that appeared since the dialog is not
  // overwritten either.
  std::FILE* out = std::fopen(path->c_str(), "wbx");
  if (!out) {
    c.dialogs.message("Cannot open UCM_output file.");
    return;
  }
  bool written = writeIpGrid(c.s, out);
  written = std::fclose(out) == 0 && written;
  if (!written) {
    // A cut grid would pass for a whole one.
    std::remove(path->c_str());
    c.dialogs.message("Cannot open UCM_output file.");
  }
}

}  // namespace orv
