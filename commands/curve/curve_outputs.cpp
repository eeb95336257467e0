#include "commands/curve/curve_outputs.h"

#include "base/fixed_text.h"

namespace orv {

bool prepareCurvePrint(CurveSession& c, int clientWidth) {
  const CurveWindowState& s = c.s;
  if (!s.curveLoaded || !s.curveDrawn) {
    c.dialogs.message(NoCurveToPrintMessage);
    return false;
  }
  // Whatever font, colour and background the last drawing left on the canvas:
  // the caption is written the way the picture was being written.
  const int x = clientWidth / 15;
  const int y = (s.imageHeight + s.plotBottom) / 2 - s.textHeight / 5;
  c.canvas.textOut(x, y, std::string(PrintCaptionPrefix) + shownText(s.instrumentFilePath));
  return true;
}

std::optional<std::string> chooseCurvePictureFile(ui::Dialogs& dialogs) {
  ui::FileDialogRequest request;
  request.title = "Uložit obrázek křivky VES do JPG souboru";
  request.filter = "souboryJPG|*.jpg|souboryJPG|*.JPG";
  request.defaultExtension = "jpg";
  std::optional<std::string> path = dialogs.saveFile(request);
  if (path && path->empty()) return std::nullopt;
  return path;
}

}  // namespace orv
