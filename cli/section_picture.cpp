#include "cli/section_picture.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/c_format.h"
#include "base/zeroed_block.h"
#include "cli/section_drawing.h"
#include "commands/section/database_commands.h"
#include "commands/section/section_painting.h"
#include "core/section/colour_scale_file.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "core/section/vdb_file.h"
#include "qt/qimage_canvas.h"

namespace orv::cli {
namespace {

constexpr int DefaultScreenWidth = 1600;
constexpr int DefaultScreenHeight = 1000;
constexpr int MaxScreenSide = 8000;

struct PictureOptions {
  std::string database;
  std::string png;
  std::string scale;  // empty: orvcolres.rsc of the current folder, if any
  int profile = 0;
  int width = DefaultScreenWidth;
  int height = DefaultScreenHeight;
};

// "1600x1000" (or with the multiplication sign).
bool parseSize(std::string_view text, int& w, int& h) {
  std::size_t cut = text.find('x');
  std::size_t skip = 1;
  if (cut == std::string_view::npos) {
    cut = text.find("×");
    skip = std::string_view("×").size();
  }
  if (cut == std::string_view::npos) return false;
  const std::optional<int> a = parseUserInt(text.substr(0, cut));
  const std::optional<int> b = parseUserInt(text.substr(cut + skip));
  if (!a || !b || *a < 1 || *b < 1 || *a > MaxScreenSide || *b > MaxScreenSide) return false;
  w = *a;
  h = *b;
  return true;
}

// Returns 0 when the options are complete, else the usage failure's code.
int parseArguments(int argc, char** argv, PictureOptions& o) {
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool takesValue =
        arg == "--profile" || arg == "--png" || arg == "--size" || arg == "--scale";
    if (takesValue && i + 1 >= argc)
      return fail(ExitUsage, "option " + std::string(arg) + " needs a value");
    if (arg == "--profile") {
      if (int code = parseProfileIndex(argv[++i], o.profile)) return code;
    } else if (arg == "--png") {
      o.png = argv[++i];
    } else if (arg == "--scale") {
      o.scale = argv[++i];
    } else if (arg == "--size") {
      if (!parseSize(argv[++i], o.width, o.height))
        return fail(ExitUsage, "--size needs WxH, each 1.." + std::to_string(MaxScreenSide));
    } else if (arg.size() > 1 && arg[0] == '-') {
      return fail(ExitUsage, "unknown option " + std::string(arg) + " for section");
    } else if (o.database.empty()) {
      o.database = arg;
    } else {
      return fail(ExitUsage, "unexpected argument " + std::string(arg));
    }
  }
  if (o.database.empty()) return fail(ExitUsage, "section needs a database file");
  if (o.png.empty()) return fail(ExitUsage, "section needs --png OUT.png");
  return 0;
}

}  // namespace

int runSectionPicture(int argc, char** argv) {
  PictureOptions o;
  if (int code = parseArguments(argc, argv, o)) return code;

  DrawnProfile d;
  if (int code = readProfile(o.database, o.profile, o.png, d)) return code;
  if (refuseExisting(o.png)) return ExitError;
  const std::unique_ptr<QGuiApplication> app = startPainting(argv[0]);
  if (!loadScale(o.scale, d.view->colourScale)) return ExitError;
  // The window's bitmap is twice the screen; what it shows is its client area.
  ui::QImageCanvas canvas(2 * o.width, 2 * o.height);
  paint(d, canvas, ui::ScreenSize{o.width, o.height});
  return saveImageOnce(canvas.image().copy(0, 0, o.width, o.height), o.png, "PNG");
}

}  // namespace orv::cli
