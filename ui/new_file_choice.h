// The save dialog of the exports that never overwrite: it is shown again
// until the user names a file that does not exist yet, or gives up.
#pragma once

#include <optional>
#include <string>

#include "ui/dialogs.h"

namespace ui {

// After a name of an existing file the dialog comes back either with the
// preset it started with or with the name just typed, for the user to alter.
enum class RetryPreset { Original, TypedName };

// Shows the save dialog of request until a name of no existing file is
// chosen. A cancel (or an empty name) shows "Nevybral jste žádný soubor" and
// gives nullopt; a name of an existing file shows "Soubor" + name +
// "existuje. Zvolte jiný název!" and asks again. request.presetName holds
// the last preset shown.
std::optional<std::string> chooseNewFile(Dialogs& dialogs, FileDialogRequest& request,
                                         RetryPreset retry);

}  // namespace ui
