#include "cli/export_command.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/c_format.h"
#include "cli/section_drawing.h"
#include "core/section/contour_grids.h"
#include "core/section/dxf_export.h"
#include "core/section/dxf_settings.h"
#include "qt/jpeg_picture.h"

namespace orv::cli {
namespace {

constexpr ui::ScreenSize Screen{1600, 1000};

enum class Output { None, Dxf, ModelGrid, PseudoGrid, IpGrid, LayerGrid, Jpeg };

struct ExportOptions {
  std::string database;
  std::string output;
  std::string scale;
  Output kind = Output::None;
  int profile = 0;
};

std::optional<Output> gridKind(std::string_view name) {
  if (name == "model") return Output::ModelGrid;
  if (name == "pseudo") return Output::PseudoGrid;
  if (name == "ip") return Output::IpGrid;
  if (name == "layers") return Output::LayerGrid;
  return std::nullopt;
}

int parseArguments(int argc, char** argv, ExportOptions& o) {
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const int values =
        arg == "--grid"                                                                 ? 2
        : (arg == "--profile" || arg == "--dxf" || arg == "--jpeg" || arg == "--scale") ? 1
                                                                                        : 0;
    if (values > 0 && i + values >= argc)
      return fail(ExitUsage, "option " + std::string(arg) + " needs a value");
    const bool output = arg == "--dxf" || arg == "--grid" || arg == "--jpeg";
    if (output && o.kind != Output::None)
      return fail(ExitUsage, "export writes one of --dxf, --grid, --jpeg");
    if (arg == "--profile") {
      if (int code = parseProfileIndex(argv[++i], o.profile)) return code;
    } else if (arg == "--dxf") {
      o.kind = Output::Dxf;
      o.output = argv[++i];
    } else if (arg == "--jpeg") {
      o.kind = Output::Jpeg;
      o.output = argv[++i];
    } else if (arg == "--grid") {
      const std::optional<Output> kind = gridKind(argv[++i]);
      if (!kind) return fail(ExitUsage, "--grid needs model, pseudo, ip or layers");
      o.kind = *kind;
      o.output = argv[++i];
    } else if (arg == "--scale") {
      o.scale = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return fail(ExitUsage, "unknown option " + std::string(arg) + " for export");
    } else if (o.database.empty()) {
      o.database = arg;
    } else {
      return fail(ExitUsage, "unexpected argument " + std::string(arg));
    }
  }
  if (o.database.empty()) return fail(ExitUsage, "export needs a database file");
  if (o.kind == Output::None) return fail(ExitUsage, "export needs --dxf, --grid or --jpeg");
  return 0;
}

// The DXF settings of orv.ini in the current folder, the defaults without it.
DxfSettings currentSettings() {
  DxfSettings s;
  const std::string path = dxfSettingsPath(std::filesystem::current_path().string());
  readDxfSettingsFile(s, path.c_str());
  return s;
}

bool writeText(const ExportOptions& o, DrawnProfile& d, std::FILE* out) {
  SectionDatabase& db = *d.db;
  switch (o.kind) {
    case Output::Dxf: {
      DxfSettings settings = currentSettings();
      return writeDxf(db, *d.view, settings, out) == DxfWritten;
    }
    case Output::ModelGrid:
      return writeModelGrid(db, out);
    case Output::PseudoGrid:
      return writePseudoSectionGrid(db, out);
    case Output::IpGrid:
      return writeIpPseudoSectionGrid(db, d.view->currentIpWindow, out);
    case Output::LayerGrid:
      return writeLayerGrid(db, *d.view, out);
    default:
      return false;
  }
}

// A text export, created exclusively so an existing file is never touched and
// removed again when it could not be written whole.
int writeTextOnce(const ExportOptions& o, DrawnProfile& d) {
  errno = 0;
  std::FILE* out = std::fopen(o.output.c_str(), "wbx");
  if (!out)
    return fail(ExitError, errno == EEXIST ? o.output + " exists, not overwritten"
                                           : "cannot create " + o.output);
  bool written = writeText(o, d, out);
  written = std::fclose(out) == 0 && written;
  if (written) return 0;
  std::remove(o.output.c_str());
  return fail(ExitError, "cannot write " + o.output);
}

}  // namespace

int runExport(int argc, char** argv) {
  ExportOptions o;
  if (int code = parseArguments(argc, argv, o)) return code;
  DrawnProfile d;
  if (int code = readProfile(o.database, o.profile, o.output, d)) return code;
  if (d.db->profiles[o.profile].mxindex_bodu < 0)
    return fail(ExitError, o.database + ": profile " + std::to_string(o.profile) +
                               " has no point, " + o.output + " not written");
  if (refuseExisting(o.output)) return ExitError;
  const std::unique_ptr<QGuiApplication> app = startPainting(argv[0]);
  if (!loadScale(o.scale, d.view->colourScale)) return ExitError;
  // The exports read the layout of the picture as the window shows it.
  ui::QImageCanvas canvas(2 * Screen.width, 2 * Screen.height);
  d.view->drawLegend = o.kind == Output::Jpeg;
  paint(d, canvas, Screen);
  if (o.kind == Output::Jpeg)
    return saveImageOnce(ui::drawnPart(canvas.image(), ui::PictureMargin), o.output, "JPG");
  return writeTextOnce(o, d);
}

}  // namespace orv::cli
