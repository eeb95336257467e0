#include "cli/section_drawing.h"

#include <QFile>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "base/c_format.h"
#include "base/file_lookup.h"
#include "commands/section/database_commands.h"
#include "commands/section/section_painting.h"
#include "core/section/colour_scale_file.h"
#include "core/section/vdb_file.h"

namespace orv::cli {
namespace {

void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "orv-cli: %s\n", text.toLocal8Bit().constData());
}

QString qtPath(const std::string& path) {
  return QString::fromLocal8Bit(path.c_str());
}

}  // namespace

int fail(int code, const std::string& text) {
  std::fprintf(stderr, "orv-cli: %s\n", text.c_str());
  return code;
}

int parseProfileIndex(const char* text, int& profile) {
  const std::optional<int> p = parseUserInt(text);
  if (!p || *p < 0 || *p >= MaxProfiles)
    return fail(ExitUsage, "--profile needs a profile index 0.." + std::to_string(MaxProfiles - 1));
  profile = *p;
  return 0;
}

int readProfile(const std::string& database, int profile, const std::string& output,
                DrawnProfile& d) {
  setInitialDatabaseState(*d.db);
  const VdbReadResult read = readVdb(*d.db, database.c_str());
  if (read.code != 1)
    return fail(ExitError,
                read.code == -1 ? notDatabaseMessage(database) : "cannot open " + database);
  if (read.truncated)
    return fail(ExitError, database + ": " + incompleteDatabaseMessage(read.pointsRead) + " " +
                               output + " not written");
  if (profile > d.db->mxindex_profilu)
    return fail(ExitError, database + " has no profile " + std::to_string(profile));
  setViewForReadDatabase(*d.view);
  d.db->currentProfile = profile;
  d.db->currentPoint = 0;
  return 0;
}

bool loadScale(const std::string& scalePath, ColourScale& scale) {
  const std::string path =
      scalePath.empty()
          ? findFileIgnoringCase(std::filesystem::current_path().string(), DefaultColourScaleName)
          : scalePath;
  if (scalePath.empty() && !QFile::exists(qtPath(path))) {
    useBuiltInColourScale(scale);
    return true;
  }
  const ColourScaleReadResult read = readColourScale(scale, path.c_str());
  if (read.code == 1) {
    if (read.capped)
      std::fprintf(stderr, "orv-cli: %s: only the first 499 colours were read\n", path.c_str());
    return true;
  }
  fail(ExitError, read.code == 0 ? "cannot open " + path : path + " holds no colour count");
  return false;
}

std::unique_ptr<QGuiApplication> startPainting(char* programName) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietQtNotes);
  static int argc = 1;
  static char* argv[] = {programName, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

void paint(DrawnProfile& d, ui::QImageCanvas& canvas, ui::ScreenSize screen) {
  canvas.setFont(QGuiApplication::font());
  paintSection(*d.db, *d.view, canvas, screen);
}

bool refuseExisting(const std::string& path) {
  if (!QFile::exists(qtPath(path))) return false;
  fail(ExitError, path + " exists, not overwritten");
  return true;
}

int saveImageOnce(const QImage& image, const std::string& path, const char* format) {
  const QString target = qtPath(path);
  const QString partial = target + ".part";
  if (!image.save(partial, format)) {
    QFile::remove(partial);
    return fail(ExitError, "cannot write " + path);
  }
  if (!QFile::rename(partial, target)) {
    QFile::remove(partial);
    return fail(ExitError, path + " exists, not overwritten");
  }
  return 0;
}

}  // namespace orv::cli
