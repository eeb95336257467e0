#include "cli/ip_command.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/c_format.h"
#include "cli/sounding_input.h"
#include "core/interpretation/ip_grid_file.h"
#include "core/interpretation/ip_values.h"

namespace orv::cli {
namespace {

constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

int fail(int code, const std::string& text) {
  std::fprintf(stderr, "orv-cli: %s%s\n", text.c_str(),
               code == ExitUsage ? " (see orv-cli --help)" : "");
  return code;
}

void printValues(const CurveWindowState& s) {
  const int windows = ipWindowsDefined(s);
  std::string out = "reading\tab2";
  for (int w = 1; w <= windows; ++w) out += "\tw" + std::to_string(w);
  out += '\n';
  for (int j = 0; j < ipReadingCount(s); ++j) {
    out += std::to_string(j) + '\t' + cformat("%.9g", s.readingAbHalf[j]);
    for (int w = 0; w < windows; ++w) out += '\t' + cformat("%.9g", s.ipValue[j][w]);
    out += '\n';
  }
  std::fputs(out.c_str(), stdout);
}

// Never over an existing file; a grid cut by a failed write is removed.
int writeGrid(const CurveWindowState& s, const std::string& path) {
  errno = 0;
  std::FILE* out = std::fopen(path.c_str(), "wbx");
  if (!out)
    return fail(ExitError,
                errno == EEXIST ? path + " exists, not overwritten" : "cannot create " + path);
  bool written = writeIpGrid(s, out);
  written = std::fclose(out) == 0 && written;
  if (!written) {
    std::remove(path.c_str());
    return fail(ExitError, "cannot write " + path);
  }
  return 0;
}

}  // namespace

int runIp(int argc, char** argv) {
  std::string file, grid;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--dat") {
      if (i + 1 >= argc) return fail(ExitUsage, "option --dat needs a value");
      grid = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return fail(ExitUsage, "unknown option " + std::string(arg) + " for ip");
    } else if (file.empty()) {
      file = arg;
    } else {
      return fail(ExitUsage, "unexpected argument " + std::string(arg));
    }
  }
  if (file.empty()) return fail(ExitUsage, "ip needs an OAX file");
  if (soundingFileKind(file) != SoundingFile::Oax)
    return fail(ExitUsage, "ip reads OAX files only: " + file);

  CurveRun run;
  const InstrumentRead read = readInstrumentFile(run, file, SoundingFile::Oax);
  if (!read.ok) return fail(ExitError, read.failure);
  CurveWindowState& s = *run.state;
  if (!read.ipHeader) return fail(ExitError, file + " has no IP data");
  if (s.ipWindowCount < 1) return fail(ExitError, file + " has no IP window");
  s.fromSection = false;
  computeIpValues(s);
  printValues(s);
  return grid.empty() ? 0 : writeGrid(s, grid);
}

}  // namespace orv::cli
