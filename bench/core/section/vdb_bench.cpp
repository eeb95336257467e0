// Saving and reading the section database file. Targets: a database of 20
// profiles x 100 points x 40 readings with IP values saved in <= 300 ms and
// read in <= 300 ms; a full database of 20 x 420 points x 200 readings x 20
// IP windows saved and read with a peak resident memory below 250 MB (the
// writer streams, the reader goes line by line).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "core/section/section_database.h"
#include "core/section/vdb_file.h"

namespace {

using orv::SectionDatabase;

std::string scratchFile(const char* name) {
  return (std::filesystem::temp_directory_path() /
          ("orv_vdb_bench_" + std::to_string(getpid()) + "_" + name))
      .string();
}

void fill(SectionDatabase& db, int pointsPerProfile, int readings) {
  orv::setInitialDatabaseState(db);
  orv::setTextFromUtf8(db.localityName, "Žďár nad Sázavou");
  db.mxindex_profilu = orv::MaxProfiles - 1;
  for (int p = 0; p < orv::MaxProfiles; ++p) {
    orv::SectionProfile& pf = db.profiles[p];
    orv::setText(pf.profileName, orv::cformat("pf %d", p));
    pf.mxindex_bodu = pointsPerProfile - 1;
    pf.num_IPoken = orv::MaxIpWindows;
    for (int k = 0; k < orv::MaxIpWindows; ++k)
      pf.ipWindowFrom[k] = 40 * k, pf.ipWindowTo[k] = 40 * k + 40, pf.ipWindowMid[k] = 40 * k + 20;
    for (int b = 0; b < pointsPerProfile; ++b) {
      orv::SectionPoint& pt = pf.points[b];
      orv::setText(pt.pointName, orv::cformat("bod %d-%d", p, b));
      orv::setText(pt.measureDate, "12.5.2004");
      pt.profileChainage = pt.surfaceChainage = pt.pointX = 10.0f * b;
      pt.pointZ = 400.0f - 0.37f * b;
      pt.fitError = 0.0123f;
      pt.Mermx = readings;
      pt.nABmn = 0;
      pt.ABmx = readings - 1;
      pt.MNmx = 3;
      for (int m = 0; m < readings; ++m) {
        pt.AO[m] = 1.0f + 1.3f * m;
        pt.MO[m] = 0.5f + m / 10;
        pt.Rmer[m] = 120.0f + 3.1f * m + b;
        pt.iMN[m] = 1 + m / 10;
        pt.compositeRho[m] = 118.5f + 3.0f * m;
        for (int k = 0; k < orv::MaxIpWindows; ++k)
          pt.ipValue[m][k] = 12.75f - 0.41f * k + 0.01f * m;
      }
      pt.MDLmx = 4;
      for (int i = 0; i <= 4; ++i)
        pt.layerRho[i] = 50.0f + 25.0f * i, pt.layerDepth[i] = 2.5f * (i + 1);
      pt.layerRho[2] = -pt.layerRho[2];
    }
  }
}

bool save(const SectionDatabase& db, const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = orv::writeVdb(db, f);
  return std::fclose(f) == 0 && ok;
}

double fileMegabytes(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// Peak resident set of the process, MB (VmHWM).
double peakResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// Starts the peak anew, so that a benchmark reports its own.
void resetPeakResident() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_SaveMediumDatabase(benchmark::State& state) {
  orv::ZeroedBlock<SectionDatabase> db;
  fill(*db, 100, 40);
  const std::string path = scratchFile("medium_save.vdb");
  for (auto _ : state)
    if (!save(*db, path)) state.SkipWithError("cannot write the scratch file");
  const double mb = fileMegabytes(path);
  state.counters["file_MB"] = mb;
  state.counters["MB/s"] = benchmark::Counter(mb, benchmark::Counter::kIsIterationInvariantRate);
  std::filesystem::remove(path);
}

void BM_ReadMediumDatabase(benchmark::State& state) {
  orv::ZeroedBlock<SectionDatabase> db;
  fill(*db, 100, 40);
  const std::string path = scratchFile("medium_read.vdb");
  save(*db, path);
  orv::ZeroedBlock<SectionDatabase> into;
  for (auto _ : state) {
    const orv::VdbReadResult r = orv::readVdb(*into, path.c_str());
    if (r.code != 1 || r.pointsRead != 2000) state.SkipWithError("the file did not read back");
  }
  const double mb = fileMegabytes(path);
  state.counters["file_MB"] = mb;
  state.counters["MB/s"] = benchmark::Counter(mb, benchmark::Counter::kIsIterationInvariantRate);
  std::filesystem::remove(path);
}

// Saved and read back over the same database, as the section window does
// with its single one.
void BM_SaveAndReadFullDatabase(benchmark::State& state) {
  resetPeakResident();
  orv::ZeroedBlock<SectionDatabase> db;
  fill(*db, orv::MaxPointsPerProfile, orv::MaxReadings);
  const double filled = peakResidentMegabytes();
  const std::string path = scratchFile("full.vdb");
  for (auto _ : state) {
    if (!save(*db, path)) state.SkipWithError("cannot write the scratch file");
    const orv::VdbReadResult r = orv::readVdb(*db, path.c_str());
    if (r.code != 1 || r.truncated) state.SkipWithError("the file did not read back");
  }
  state.counters["file_MB"] = fileMegabytes(path);
  state.counters["peak_rss_MB"] = peakResidentMegabytes();
  state.counters["filled_db_rss_MB"] = filled;
  state.counters["MB/s"] =
      benchmark::Counter(2 * fileMegabytes(path), benchmark::Counter::kIsIterationInvariantRate);
  std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_SaveAndReadFullDatabase)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SaveMediumDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMediumDatabase)->Unit(benchmark::kMillisecond);
