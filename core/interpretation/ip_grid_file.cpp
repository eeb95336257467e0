#include "core/interpretation/ip_grid_file.h"

#include "base/c_format.h"
#include "base/cp1250.h"
#include "core/interpretation/ip_values.h"

namespace orv {

std::string ipGridText(const CurveWindowState& s) {
  const int windows = ipWindowsDefined(s);
  const int readings = ipReadingCount(s);
  std::string out = utf8ToCp1250(cformat(
      "AB/4\tčasOdVypnutíIab\tNý-ZdPolarizovatelnost - soubor zdánlivých polarizovatelností v %i "
      "zvolených oknech pro vyzvoření izopolarizačního hloubko časové mapy.",
      windows));
  out += "[m]\t[ms]\t[%]";
  out.reserve(out.size() + static_cast<size_t>(windows) * readings * 40);
  for (int w = 0; w < windows; ++w) {
    const double middle = (static_cast<double>(s.ipWindowEnd[w]) + s.ipWindowStart[w]) * 0.5;
    for (int j = 0; j < readings; ++j) {
      // The C library's text mode turned the "\n" before each row into CR LF.
      out += "\r\n";
      out += formatF(s.readingAbHalf[j] * 0.25);
      out += '\t';
      out += formatF(middle);
      out += '\t';
      out += formatF(s.ipValue[j][w]);
    }
  }
  return out;
}

bool writeIpGrid(const CurveWindowState& s, std::FILE* out) {
  const std::string text = ipGridText(s);
  return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0 &&
         !std::ferror(out);
}

}  // namespace orv
