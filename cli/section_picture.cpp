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
#include "section/database_commands.h"
#include "section/section_database.h"
#include "section/section_painting.h"
#include "section/section_window_state.h"
#include "section/vdb_file.h"
#include "sectionlayers/colour_scale_file.h"
#include "ui/qt/qimage_canvas.h"

namespace orv::cli {
namespace {

constexpr int ExitError = 1;
constexpr int ExitUsage = 2;
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

// Qt's own notes (a missing runtime folder, font fallbacks) are not the
// tool's to report; its errors stay one line each.
void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "orv-cli: %s\n", text.toLocal8Bit().constData());
}

int fail(int code, const std::string& text) {
  std::fprintf(stderr, "orv-cli: %s\n", text.c_str());
  return code;
}

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
      const std::optional<int> p = parseUserInt(argv[++i]);
      if (!p || *p < 0 || *p >= MaxProfiles)
        return fail(ExitUsage,
                    "--profile needs a profile index 0.." + std::to_string(MaxProfiles - 1));
      o.profile = *p;
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

// The scale named by --scale must be read; the default one is read when it
// is there, as the window does at start-up.
bool loadScale(const PictureOptions& o, ColourScale& scale) {
  const std::string path = o.scale.empty() ? std::string(DefaultColourScaleName) : o.scale;
  if (o.scale.empty() && !QFile::exists(QString::fromLocal8Bit(path.c_str()))) return true;
  const ColourScaleReadResult read = readColourScale(scale, path.c_str());
  if (read.code == 1) {
    if (read.capped)
      std::fprintf(stderr, "orv-cli: %s: only the first 499 colours were read\n", path.c_str());
    return true;
  }
  fail(ExitError, read.code == 0 ? "cannot open " + path : path + " holds no colour count");
  return false;
}

}  // namespace

int runSectionPicture(int argc, char** argv) {
  PictureOptions o;
  if (int code = parseArguments(argc, argv, o)) return code;

  ZeroedBlock<SectionDatabase> db;
  setInitialDatabaseState(*db);
  const VdbReadResult read = readVdb(*db, o.database.c_str());
  if (read.code != 1) return fail(ExitError, "cannot open " + o.database);
  if (read.truncated)
    return fail(ExitError, o.database + ": " + incompleteDatabaseMessage(read.pointsRead) + " " +
                               o.png + " not written");
  if (o.profile > db->mxindex_profilu)
    return fail(ExitError, o.database + " has no profile " + std::to_string(o.profile));
  if (QFile::exists(QString::fromLocal8Bit(o.png.c_str())))
    return fail(ExitError, o.png + " exists, not overwritten");

  // Text needs the font machinery of a GUI application, not a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietQtNotes);
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QGuiApplication app(qtArgc, qtArgv);

  auto view = std::make_unique<SectionWindowState>();
  setViewForReadDatabase(*view);
  if (!loadScale(o, view->colourScale)) return ExitError;
  db->currentProfile = o.profile;
  db->currentPoint = 0;
  // The window's bitmap is twice the screen; what it shows is its client area.
  ui::QImageCanvas canvas(2 * o.width, 2 * o.height);
  canvas.setFont(QGuiApplication::font());
  paintSection(*db, *view, canvas, ui::ScreenSize{o.width, o.height});

  const QImage shown = canvas.image().copy(0, 0, o.width, o.height);
  // Written next to its final name and moved there only when complete.
  const QString target = QString::fromLocal8Bit(o.png.c_str());
  const QString partial = target + ".part";
  if (!shown.save(partial, "PNG")) {
    QFile::remove(partial);
    return fail(ExitError, "cannot write " + o.png);
  }
  if (!QFile::rename(partial, target)) {
    QFile::remove(partial);
    return fail(ExitError, o.png + " exists, not overwritten");
  }
  return 0;
}

}  // namespace orv::cli
