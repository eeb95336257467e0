#include "core/section/colour_scale_file.h"

#include <algorithm>
#include <string>

#include "base/c_format.h"
#include "base/cp1250.h"

namespace orv {
namespace {

// Reads the next line whole, as the platform's text mode delivers it (CR LF
// becomes LF), keeping at most RscLineKept bytes of it. Returns false at the
// end of the file when nothing was left; line is then untouched, which is
// what lets the entry after the last line repeat the one before.
bool nextLine(std::FILE* f, std::string& line) {
  std::string out;
  bool any = false;
  for (;;) {
    int c = std::fgetc(f);
    if (c == EOF) break;
    any = true;
    if (c == '\r') {
      const int d = std::fgetc(f);
      if (d == '\n') {
        c = '\n';
      } else if (d != EOF) {
        std::ungetc(d, f);
      }
    }
    if (out.size() < static_cast<std::size_t>(RscLineKept)) out.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  if (any) line = std::move(out);
  return any;
}

}  // namespace

bool writeColourScale(const ColourScale& scale, std::FILE* out, std::string_view writtenPath) {
  const int n = std::clamp(scale.colResCount, 0, MaxColourEntries - 1);
  std::string text = utf8ToCp1250("název_souboru: ") + utf8ToCp1250(writtenPath);
  // A file name may hold a line break; in the file it would push the count
  // off its line and the scale would not read back.
  for (char& ch : text)
    if (ch == '\r' || ch == '\n') ch = ' ';
  text += cformat("\r\nmxpocet_bodu_barev: %i", n);
  for (int k = 0; k < n; ++k)
    text += cformat("\r\n%i %i ", scale.colResBound[k], scale.colResColor[k]);
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fflush(out) == 0 && written && !std::ferror(out);
}

ColourScaleReadResult readColourScale(ColourScale& scale, const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return {0, false};

  std::string line;
  nextLine(f, line);  // the name the file was written under: not needed
  nextLine(f, line);
  int count = 0;
  if (cscan(line.c_str(), "%*s %i", &count) != 1 || count < 0) {
    std::fclose(f);
    return {-1, false};
  }
  const bool capped = count > MaxColourEntries - 1;
  if (capped) count = MaxColourEntries - 1;

  for (int i = 0; i <= count; ++i) {
    nextLine(f, line);
    cscan(line.c_str(), "%i %i", &scale.colResBound[i], &scale.colResColor[i]);
  }
  scale.colResCount = count;
  std::fclose(f);
  return {1, capped};
}

}  // namespace orv
