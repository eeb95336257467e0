#include "core/curve/model_curves_csv.h"

#include <cstdio>

#include "base/c_format.h"
#include "base/next_free_name.h"

namespace orv {
namespace {

constexpr const char* Header =
    "druh,vrstva,ρ [Ω·m],h [m],hloubka [m],fix ρ,fix h,fix hloubka,buňka,AB/2 [m],"
    "ρa snesená [Ω·m],ρa vypočtená [Ω·m]\r\n";

std::string flag(int32_t f) {
  return f == 1 ? "1" : "0";
}

}  // namespace

std::string formatModelCurvesCsv(const CurveWindowState& s, bool withComputed) {
  std::string out = Header;
  const int n = s.modelBoundaryCount;
  const bool model = n >= 0 && n < MaxLayers && (n > 0 || s.modelActive);
  for (int i = 0; model && i <= n; ++i) {
    // Layers counted from 1, as the model table shows them; the half-space
    // has neither thickness nor depth.
    out += "model," + std::to_string(i + 1) + "," + shortestText(s.modelRho[i]) + ",";
    if (i < n) {
      const double top = i == 0 ? 0.0 : s.modelDepth[i - 1];
      out += shortestText(static_cast<float>(s.modelDepth[i] - top)) + "," +
             shortestText(s.modelDepth[i]) + "," + flag(s.rhoFixed[i]) + "," +
             flag(s.thicknessFixed[i]) + "," + flag(s.depthFixed[i]);
    } else {
      out += ",," + flag(s.rhoFixed[i]) + ",,";
    }
    out += ",,,,\r\n";
  }
  const int first = s.gridMinIndex < 0 ? 0 : s.gridMinIndex;
  const int last = s.gridMaxIndex >= GridCells ? GridCells - 1 : s.gridMaxIndex;
  for (int g = first; s.compositeReady && g <= last; ++g) {
    out += "křivka,,,,,,,," + std::to_string(g) + "," + shortestText(s.gridAbHalf[g]) + ",";
    if (s.mergedRho[g][0] > 0) out += shortestText(s.mergedRho[g][0]);
    out += ",";
    if (withComputed && s.computedRho[g] > 0) out += shortestText(s.computedRho[g]);
    out += "\r\n";
  }
  return out;
}

std::string modelCurvesCsvName(const std::string& soundingPath) {
  if (soundingPath.empty()) return "sounding.csv";
  const std::size_t slash = soundingPath.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = soundingPath.find_last_of('.');
  if (dot == std::string::npos || dot <= nameStart) dot = soundingPath.size();
  return soundingPath.substr(0, dot) + ".csv";
}

std::string writeModelCurvesCsv(const CurveWindowState& s, bool withComputed,
                                const std::string& first) {
  NewFile out = createNextFreeFile(first, first, "_", ".csv");
  if (!out.file) return "";
  const std::string bytes = formatModelCurvesCsv(s, withComputed);
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), out.file) == bytes.size();
  written = std::fclose(out.file) == 0 && written;
  if (!written) {
    // A cut table would pass for a whole one.
    std::remove(out.name.c_str());
    return "";
  }
  return out.name;
}

}  // namespace orv
