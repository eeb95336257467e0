#include "commands/section/dxf_export_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "commands/section/database_commands.h"
#include "commands/section/view_commands.h"
#include "ui/new_file_choice.h"

namespace orv {

void exportDxf(SectionSession& session, DxfSettings& settings, const SectionJpegWriter& writeJpeg) {
  SectionProfile* p = exportedProfile(session.db);
  if (!p) return;
  ui::FileDialogRequest request{"", "*.dxf|*.DXF", "DXF", settings.dxfFileName};
  const std::optional<std::string> name =
      ui::chooseNewFile(session.dialogs, request, ui::RetryPreset::TypedName);
  // The last name typed stays proposed for the next export, even a taken one.
  settings.dxfFileName = request.presetName;
  if (!name) return;
  settings.dxfFileName = *name;
  // Created exclusively: a file that appeared since the test is not
  // overwritten either.
  std::FILE* f = std::fopen(settings.dxfFileName.c_str(), "wbx");
  if (!f) {
    session.dialogs.message("Cannot open UCM_output file.");
    return;
  }
  int code = writeDxf(session.db, session.view, settings, f);
  if (std::fclose(f) != 0 && code == DxfWritten) code = DxfWriteFailed;
  if (code != DxfWritten) {
    // A cut drawing is no drawing: the file created here goes again.
    std::remove(settings.dxfFileName.c_str());
    session.dialogs.message("Cannot open UCM_output file.");
    return;
  }

  if (p->HBV_pocet <= 0 || !writeJpeg) return;
  SectionWindowState& v = session.view;
  const double e = std::trunc(double(settings.dxfExaggeration));
  v.exaggeration = std::isfinite(e) ? static_cast<int32_t>(std::clamp(e, -1e6, 1e6)) : 1;
  p->scaleZ = static_cast<float>(v.exaggeration) * p->scaleX;
  v.exaggerationLock = true;
  if (session.chrome) session.chrome->setChecked(ExaggerationLockItem, true);
  v.coloursOnly = true;
  if (session.redraw) session.redraw();
  writeJpeg(settings.dxfFileName + ".JPG");
  v.coloursOnly = false;
  if (session.redraw) session.redraw();
}

void dxfExportCommand(SectionSession& session, DxfSettings& settings,
                      const SectionJpegWriter& writeJpeg) {
  if (exportedProfile(session.db))
    exportDxf(session, settings, writeJpeg);
  else
    readDatabase(session);
}

}  // namespace orv
