#include "cli/headless_ui.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace orv::cli {

namespace {

// One line on the terminal, rewritten in place at every step and ended when
// the work ends.
class TerminalProgress : public ui::Progress {
 public:
  explicit TerminalProgress(std::string_view title) : title_(title) {}
  ~TerminalProgress() override {
    if (shown_) std::fputc('\n', stderr);
  }
  bool step(int done, int total) override {
    if (total > 0) {
      std::fprintf(stderr, "\rorv-cli: %s %d/%d", title_.c_str(), done, total);
    } else {
      std::fprintf(stderr, "\rorv-cli: %s %d", title_.c_str(), done);
    }
    std::fflush(stderr);
    shown_ = true;
    return true;
  }

 private:
  std::string title_;
  bool shown_ = false;
};

}  // namespace

void StderrDialogs::message(std::string_view text) {
  std::string line(text);
  for (char& ch : line) {
    if (ch == '\n' || ch == '\r') ch = ' ';
  }
  std::fprintf(stderr, "orv-cli: %s\n", line.c_str());
}

void StderrDialogs::report(std::string_view title, std::string_view text) {
  std::fprintf(stderr, "orv-cli: %.*s\n%.*s\n", static_cast<int>(title.size()), title.data(),
               static_cast<int>(text.size()), text.data());
}

std::unique_ptr<ui::Progress> StderrDialogs::progress(std::string_view title) {
  if (isatty(STDERR_FILENO)) return std::make_unique<TerminalProgress>(title);
  return std::make_unique<ui::SilentProgress>();
}

}  // namespace orv::cli
