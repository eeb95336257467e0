#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/orv_application.h"
#include "app/shell.h"

namespace {

const char* const kUsage =
    "orv - interpretace vertikálních elektrických sondování (VES)\n"
    "\n"
    "  orv            spustí program v okně (potřebuje grafické prostředí)\n"
    "  orv --help     tato nápověda\n"
    "  orv --version  verze programu\n"
    "\n"
    "Bez grafického prostředí: xvfb-run orv, nebo orv-cli (příkazová řádka).\n";

// Without a window system Qt would abort with its own "could not connect to
// display"; the user is told in one line what to do instead.
bool displayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* v = std::getenv(name);
    if (v && *v) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
      std::printf("orv %s\n", ORV_VERSION);
      return 0;
    }
  }
  if (!displayAvailable()) {
    std::fputs(
        "orv: ORV potřebuje grafické prostředí (spusťte ho na ploše, nebo xvfb-run ./run.sh); "
        "orv-cli pracuje i bez něj.\n",
        stderr);
    return 1;
  }
  OrvApplication app(argc, argv);
  Shell shell;
  shell.start();
  return app.exec();
}
