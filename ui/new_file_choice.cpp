#include "ui/new_file_choice.h"

#include <filesystem>
#include <system_error>

namespace ui {

std::optional<std::string> chooseNewFile(Dialogs& dialogs, FileDialogRequest& request,
                                         RetryPreset retry) {
  for (;;) {
    std::optional<std::string> chosen = dialogs.saveFile(request);
    if (!chosen || chosen->empty()) {
      dialogs.message("Nevybral jste žádný soubor");
      return std::nullopt;
    }
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(*chosen), ec)) return chosen;
    dialogs.message("Soubor" + *chosen + "existuje. Zvolte jiný název!");
    if (retry == RetryPreset::TypedName) request.presetName = *chosen;
  }
}

}  // namespace ui
