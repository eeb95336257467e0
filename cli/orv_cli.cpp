// orv-cli: the curve window's computations without a window. Reads a KMT
// record (or an OAX or SAS file) and merges its branches, computes a model's
// curve, or optimises a model against a sounding, and prints the numbers as
// tab-separated text.
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "cli/headless_ui.h"
#include "cli/ip_command.h"
#include "cli/sounding_input.h"
#if ORV_CLI_PICTURES
#include "cli/export_command.h"
#include "cli/section_picture.h"
#endif
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/smooth_inversion.h"
#include "commands/section/database_commands.h"
#include "commands/section/profile_batch.h"
#include "commands/section/profile_commands.h"
#include "core/curve/curve_window_state.h"
#include "core/curve/kmt_file.h"
#include "core/curve/model_curves_csv.h"
#include "core/interpretation/auto_model.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/depth_of_investigation.h"
#include "core/interpretation/equivalence.h"
#include "core/interpretation/fit_verdict.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "core/interpretation/parameter_uncertainty.h"
#include "core/interpretation/thorough_fit.h"
#include "core/section/section_database.h"
#include "core/section/vdb_file.h"

namespace {

using orv::CurveWindowState;

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

const char* const kHelp =
    "orv-cli - vertical electrical soundings without the window\n"
    "\n"
    "Commands:\n"
    "  orv-cli merge FILE [--record N] [--onto T]\n"
    "      read the sounding (record N of a KMT file, default 0), merge the\n"
    "      branches onto branch T (default 2) and print the composite curve:\n"
    "      cell, ab2, rho\n"
    "  orv-cli forward --rho R0,R1,..,RN --depth D0,..,D(N-1) --cells A:B [--accurate]\n"
    "      print the model's apparent-resistivity curve on cells A..B: cell, ab2, rho;\n"
    "      --accurate computes it by the long (201-point) filter, as the window's\n"
    "      accurate-forward preference does\n"
    "  orv-cli invert FILE [--record N] [--onto T] --rho ... --depth ...\n"
    "          [--fix-rho I,..] [--fix-thickness I,..] [--fix-depth I,..]\n"
    "          [--thorough] [--equivalence] [--uncertainty] [--accurate] [--csv OUT.csv]\n"
    "  orv-cli invert FILE [--record N] [--onto T] --auto N [--equivalence]\n"
    "          [--uncertainty] [--accurate] [--csv OUT.csv]\n"
    "      merge as above, optimise the model once and print layer, rho, depth\n"
    "      and the misfit as a line SSQ, value. --thorough continues the fit\n"
    "      (Levenberg-Marquardt) until it hardly improves; --auto N builds an\n"
    "      N-layer model (2..30) from the curve alone instead of --rho/--depth and\n"
    "      fits it thoroughly. --equivalence and --uncertainty first fit\n"
    "      thoroughly (the model printed is that minimum). --equivalence adds\n"
    "      after the SSQ line a header and one row per layer: range, layer,\n"
    "      rho_min, rho_max, h_min, h_max, s_min, s_max, t_min, t_max (s = h/rho,\n"
    "      t = h*rho), the ends at which the misfit of the best model with that\n"
    "      value reaches (1 + 0.1) x SSQ; an end not reached within a factor of\n"
    "      10^4 is 0 (below) or inf (above), the half-space has inf for h, s, t.\n"
    "      --uncertainty adds a header and one row per free parameter:\n"
    "      uncertainty, parameter (rho0, h0, rho1, ..), value, factor (the\n"
    "      linearised standard error: the value times or divided by the factor;\n"
    "      inf: not resolved),\n"
    "      then the correlation matrix: a header correlation, parameter, names\n"
    "      and one row correlation, name, values per parameter.\n"
    "      --accurate: curve, misfit and Jacobian by the long filter; --csv writes\n"
    "      the model and, per cell, ab2, the composite and the computed curve as\n"
    "      the window's \"Uložit model a křivky (CSV)\" does (UTF-8, header line;\n"
    "      a taken name gives way to OUT_1.csv, OUT_2.csv, ..., said on stderr).\n"
    "      A fit that ends in a model not to be trusted (its misfit rose, an\n"
    "      interface deeper than 3 x the largest AB/2, a resistivity outside\n"
    "      0.001..10^6 ohm.m) is said in one line on standard error; the exit\n"
    "      status stays 0. Long work shows its progress on standard error when\n"
    "      that is a terminal.\n"
    "  orv-cli invert FILE [--record N] [--onto T] --smooth [--noise X] [--doi]\n"
    "      --smooth: 25 layers at fixed log-spaced interfaces (0.3 x the smallest\n"
    "      AB/2 to the largest), log resistivities fitted with a roughness\n"
    "      penalty as strong as still lets the SSQ reach cells x X^2 (X the\n"
    "      relative noise, default 0.03). --doi adds a line DOI, depth: the depth\n"
    "      below which the curve no longer sees the model (the summed change of\n"
    "      the curve, in units of 3 % noise, when everything below is made e times\n"
    "      more resistive falls to 1)\n"
    "  orv-cli ip FILE.OAX [--dat OUT.DAT]\n"
    "      read an OAX file with IP data as the curve window does (the IP windows\n"
    "      from its timing), compute the apparent polarisability of every reading\n"
    "      in every window and print reading, ab2, w1 .. wN; with --dat also write\n"
    "      the IP grid for Surfer (never over an existing file). A file without IP\n"
    "      data exits 1\n"
    "  orv-cli vdb-list FILE.vdb\n"
    "      list the points of a section database, one row each: profile, point,\n"
    "      name, chainage, readings, layers, ssq; below each point its model, one\n"
    "      row per layer indented by a tab: layer, rho, depth (inf for the\n"
    "      half-space), fixed (-, rho, depth or rho+depth: what the inversion keeps)\n"
    "  orv-cli vdb-copy IN.vdb OUT.vdb\n"
    "      read IN and save it as OUT with the program's own writer; an existing\n"
    "      OUT is never overwritten\n"
    "  orv-cli section FILE.vdb [--profile P] --png OUT.png [--size WxH]\n"
    "          [--scale FILE.rsc]\n"
    "      draw profile P (default 0) as the section window draws it after the\n"
    "      database has been read, on a screen of W x H pixels (default\n"
    "      1600x1000), and write the window's client area (W x H) as a PNG; an\n"
    "      existing OUT is never overwritten. The colour scale is FILE.rsc, or\n"
    "      orvcolres.rsc of the current folder as the window loads it at start-up\n"
    "      (without it the built-in scale, 1 to 10000 ohm.m from blue to red)\n"
    "  orv-cli export FILE.vdb [--profile P] [--scale FILE.rsc]\n"
    "          (--dxf OUT.dxf | --grid model|pseudo|ip|layers OUT.DAT | --jpeg OUT.jpg)\n"
    "      export profile P (default 0) as the section window's export menu does,\n"
    "      with the DXF settings of orv.ini in the current folder (the defaults\n"
    "      without it); the picture is the drawn part of the bitmap with the\n"
    "      colour legend;\n"
    "      an existing OUT is never overwritten\n"
    "  orv-cli profile FILE.vdb --profile P (--thorough | --auto N |\n"
    "          --lci N --lateral S [--noise X]) --out OUT.vdb\n"
    "      fit every point of profile P in chainage order, each from its own\n"
    "      model (--thorough) or from the automatic N-layer model (--auto N), with\n"
    "      the left neighbour's fitted model as one more start; fixed parameters\n"
    "      stay fixed and no point ends worse than its own model. Prints point,\n"
    "      name, ssq_before, ssq_after, layers (- where a point had no model) and\n"
    "      writes the database as OUT (never over an existing file; FILE is not\n"
    "      changed). --lci N: all points with N layers fitted jointly, log rho of\n"
    "      each layer and log depth of each interface tied to the neighbours' with\n"
    "      a standard deviation ln(1 + S d / 100 m) (d the distance in m, S the\n"
    "      allowed relative change per 100 m), the data weighted by the relative\n"
    "      noise X (default 0.03); prints joint_ssq and independent_ssq (the sum of\n"
    "      the fits alone) first, and warns when joint_ssq exceeds 1.5 times it\n"
    "  orv-cli --help\n"
    "\n"
    "FILE is read by its extension, in any letter case: .oax (ODRAM), .sas (SAS),\n"
    ".csv or .txt (a table: AB/2, MN/2, rho, optional branch per line; tabs,\n"
    "semicolons, commas or blanks; decimal point or comma; header lines skipped),\n"
    "anything else as KMT.\n"
    "Resistivities in ohm.m, depths in m (--depth \"\" for the half-space alone);\n"
    "cells are AB/2 grid indices 0..199,\n"
    "AB/2 = 10^(cell / 8.876) m. Output is tab-separated, reals as %.9g.\n"
    "A database file that ends before its counts are met is bad input: vdb-list\n"
    "lists what it holds and exits 1, vdb-copy writes nothing.\n";

struct Failure {
  int code;
  std::string text;
};

Failure usage(const std::string& text) {
  return {kExitUsage, text + " (see orv-cli --help)"};
}

bool parseDouble(std::string_view text, double& out) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end;
}

bool parseInt(std::string_view text, int& out) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end;
}

template <class T, class Parse>
bool parseList(std::string_view text, std::vector<T>& out, Parse parse) {
  out.clear();
  if (text.empty()) return false;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    T value{};
    if (!parse(text.substr(
                   start, comma == std::string_view::npos ? std::string_view::npos : comma - start),
               value)) {
      return false;
    }
    out.push_back(value);
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

struct Options {
  std::string file;
  bool haveFile = false;
  int record = 0;
  int onto = 2;
  bool haveRho = false, haveDepth = false, haveCells = false;
  std::vector<double> rho;
  std::vector<double> depth;
  int firstCell = 0, lastCell = 0;
  std::vector<int> fixRho, fixThickness, fixDepth;
  bool accurate = false;  // --accurate: the long filter
  bool thorough = false, equivalence = false, uncertainty = false;
  bool smooth = false, doi = false;
  double noise = -1.0;  // --noise of --smooth; below 0: the default
  int autoLayers = 0;   // 0: the model comes from --rho and --depth
  std::string csv;      // --csv: the model and curves as a table
};

// Options that take no value: the flag each one sets, or null.
bool* switchFlag(std::string_view command, std::string_view option, Options& o) {
  const bool model = command == "forward" || command == "invert";
  if (option == "--accurate" && model) return &o.accurate;
  if (option == "--thorough" && command == "invert") return &o.thorough;
  if (option == "--equivalence" && command == "invert") return &o.equivalence;
  if (option == "--uncertainty" && command == "invert") return &o.uncertainty;
  if (option == "--smooth" && command == "invert") return &o.smooth;
  if (option == "--doi" && command == "invert") return &o.doi;
  return nullptr;
}

// Options each command accepts; anything else is a usage error.
bool accepts(std::string_view command, std::string_view option) {
  const bool sounding = command == "merge" || command == "invert";
  const bool model = command == "forward" || command == "invert";
  if (option == "--record" || option == "--onto") return sounding;
  if (option == "--rho" || option == "--depth") return model;
  if (option == "--cells") return command == "forward";
  if (option == "--fix-rho" || option == "--fix-thickness" || option == "--fix-depth" ||
      option == "--auto" || option == "--csv" || option == "--noise") {
    return command == "invert";
  }
  return false;
}

bool parseOptions(std::string_view command, int argc, char** argv, Options& o, Failure& f) {
  const bool wantsFile = command != "forward";
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.size() > 1 && arg[0] == '-') {
      if (bool* flag = switchFlag(command, arg, o)) {
        *flag = true;
        continue;
      }
      if (!accepts(command, arg)) {
        f = usage("unknown option " + std::string(arg) + " for " + std::string(command));
        return false;
      }
      if (i + 1 >= argc) {
        f = usage("option " + std::string(arg) + " needs a value");
        return false;
      }
      const std::string_view value = argv[++i];
      bool ok = true;
      if (arg == "--record") {
        ok = parseInt(value, o.record) && o.record >= 0;
      } else if (arg == "--onto") {
        ok = parseInt(value, o.onto) && o.onto >= 1 && o.onto <= orv::MaxBranch;
      } else if (arg == "--rho") {
        ok = o.haveRho = parseList<double>(value, o.rho, parseDouble);
      } else if (arg == "--depth") {
        // A model of the half-space alone has no interface: --depth "".
        o.depth.clear();
        ok = o.haveDepth = value.empty() || parseList<double>(value, o.depth, parseDouble);
      } else if (arg == "--cells") {
        const size_t colon = value.find(':');
        ok = colon != std::string_view::npos && parseInt(value.substr(0, colon), o.firstCell) &&
             parseInt(value.substr(colon + 1), o.lastCell) && o.firstCell >= 0 &&
             o.firstCell <= o.lastCell && o.lastCell < orv::GridCells;
        o.haveCells = ok;
      } else if (arg == "--fix-rho") {
        ok = parseList<int>(value, o.fixRho, parseInt);
      } else if (arg == "--fix-thickness") {
        ok = parseList<int>(value, o.fixThickness, parseInt);
      } else if (arg == "--fix-depth") {
        ok = parseList<int>(value, o.fixDepth, parseInt);
      } else if (arg == "--csv") {
        o.csv = std::string(value);
        ok = !o.csv.empty();
      } else if (arg == "--auto") {
        ok = parseInt(value, o.autoLayers) && o.autoLayers >= orv::AutoModelMinLayers &&
             o.autoLayers <= orv::AutoModelMaxLayers;
      } else if (arg == "--noise") {
        ok = parseDouble(value, o.noise) && o.noise > 0.0 && std::isfinite(o.noise);
      }
      if (!ok) {
        f = usage("bad value '" + std::string(value) + "' of " + std::string(arg));
        return false;
      }
    } else if (wantsFile && !o.haveFile) {
      o.file = std::string(arg);
      o.haveFile = true;
    } else {
      f = usage("unexpected argument " + std::string(arg));
      return false;
    }
  }
  if (wantsFile && !o.haveFile) {
    f = usage(std::string(command) + " needs a KMT, OAX, SAS or table file");
    return false;
  }
  if (o.noise > 0.0 && !o.smooth) {
    f = usage("--noise goes with --smooth");
    return false;
  }
  if (o.smooth && o.autoLayers > 0) {
    f = usage("--smooth and --auto each make their own model");
    return false;
  }
  if (o.autoLayers > 0 || o.smooth) {
    if (o.haveRho || o.haveDepth || !o.fixRho.empty() || !o.fixThickness.empty() ||
        !o.fixDepth.empty()) {
      f = usage("--auto and --smooth make their own model: no --rho, --depth or fixes with them");
      return false;
    }
  } else if (command != "merge") {
    if (!o.haveRho || !o.haveDepth) {
      f = usage(std::string(command) + " needs --rho and --depth");
      return false;
    }
    if (o.rho.size() != o.depth.size() + 1) {
      f = usage("--rho needs one value more than --depth (the half-space)");
      return false;
    }
    if (o.rho.size() > static_cast<size_t>(orv::MaxLayers)) {
      f = usage("at most 30 layers");
      return false;
    }
  }
  if (command == "forward" && !o.haveCells) {
    f = usage("forward needs --cells A:B");
    return false;
  }
  const int n = static_cast<int>(o.depth.size());
  for (int i : o.fixRho) {
    if (i < 0 || i > n) {
      f = usage("--fix-rho index outside 0.." + std::to_string(n));
      return false;
    }
  }
  for (const std::vector<int>* list : {&o.fixThickness, &o.fixDepth}) {
    for (int i : *list) {
      if (i < 0 || i >= n) {
        f = usage("fix index " + std::to_string(i) + " outside 0.." + std::to_string(n - 1));
        return false;
      }
    }
  }
  return true;
}

using Session = orv::cli::CurveRun;
using orv::cli::SoundingFile;

// An OAX or SAS file holds one sounding, read as the curve window reads it.
bool readInstrumentSounding(Session& session, const Options& o, SoundingFile kind, Failure& f) {
  if (o.record != 0) {
    f = usage("--record applies to KMT files only: " + o.file + " holds one sounding");
    return false;
  }
  const orv::cli::InstrumentRead read = orv::cli::readInstrumentFile(session, o.file, kind);
  if (!read.ok) f = {kExitError, read.failure};
  return read.ok;
}

bool readKmtSounding(Session& session, const Options& o, Failure& f) {
  CurveWindowState& s = *session.state;
  const orv::KmtReadResult read = orv::readKmtRecord(s, o.file.c_str(), o.record);
  if (read.code == 0) {
    f = {kExitError, "cannot open " + o.file};
    return false;
  }
  if (read.code != 1) {
    f = {kExitError, "no record " + std::to_string(o.record) + " in " + o.file};
    return false;
  }
  if (orv::deriveReadings(session.c, orv::ReadingOrigin::Kmt) != 1) {
    f = {kExitError, "record " + std::to_string(o.record) + " has no usable reading"};
    return false;
  }
  const std::string notice = orv::kmtNoticeText(read);
  if (!notice.empty()) session.dialogs.message(notice);
  return true;
}

// The load road of the curve window: read, derive, reset, merge.
bool loadSounding(Session& session, const Options& o, Failure& f) {
  CurveWindowState& s = *session.state;
  const SoundingFile kind = orv::cli::soundingFileKind(o.file);
  if (!(kind == SoundingFile::Kmt ? readKmtSounding(session, o, f)
                                  : readInstrumentSounding(session, o, kind, f)))
    return false;
  orv::resetInterpretation(session.c);
  s.fromSection = false;
  // A merge without a tie is still a merge, but the user must learn of it.
  orv::reportMergeOutcome(session.dialogs, orv::mergeBranchesCore(s, o.onto));
  if (!s.compositeReady) {
    f = {kExitError, "record " + std::to_string(o.record) + " gives no composite curve"};
    return false;
  }
  return true;
}

void setModel(CurveWindowState& s, const Options& o) {
  s.modelBoundaryCount = static_cast<int>(o.depth.size());
  for (size_t i = 0; i < o.rho.size(); ++i) s.modelRho[i] = static_cast<float>(o.rho[i]);
  for (size_t i = 0; i < o.depth.size(); ++i) s.modelDepth[i] = static_cast<float>(o.depth[i]);
  if (o.depth.size() < static_cast<size_t>(orv::MaxLayers)) s.modelDepth[o.depth.size()] = 1e9f;
}

std::string real(double v) {
  return orv::cformat("%.9g", v);
}

void printCurve(const char* header, int first, int last, const float* values, const float* abHalf,
                bool positiveOnly) {
  std::printf("%s\n", header);
  for (int g = first; g <= last; ++g) {
    if (positiveOnly && !(values[g] > 0.0f)) continue;
    std::printf("%d\t%s\t%s\n", g, real(abHalf[g]).c_str(), real(values[g]).c_str());
  }
}

int runMerge(const Options& o, Failure& f) {
  Session session;
  if (!loadSounding(session, o, f)) return f.code;
  const CurveWindowState& s = *session.state;
  float composite[orv::GridCells];
  for (int g = 0; g < orv::GridCells; ++g) composite[g] = s.mergedRho[g][0];
  printCurve("cell\tab2\trho", s.gridMinIndex, s.gridMaxIndex, composite, s.gridAbHalf, true);
  return 0;
}

int runForward(const Options& o, Failure& f) {
  Session session;
  CurveWindowState& s = *session.state;
  setModel(s, o);
  s.accurateForward = o.accurate;
  s.gridMinIndex = o.firstCell;
  s.gridMaxIndex = o.lastCell;
  if (!orv::computeForwardValues(s, false)) {
    f = {kExitError, orv::ForwardFailedMessage};
    return f.code;
  }
  printCurve("cell\tab2\trho", s.gridMinIndex, s.gridMaxIndex, s.computedRho, s.gridAbHalf, false);
  return 0;
}

void printModel(const CurveWindowState& s) {
  std::printf("layer\trho\tdepth\n");
  const int n = s.modelBoundaryCount;
  for (int i = 0; i <= n; ++i) {
    std::printf("%d\t%s\t%s\n", i, real(s.modelRho[i]).c_str(),
                i < n ? real(s.modelDepth[i]).c_str() : "inf");
  }
  std::printf("SSQ\t%s\n", real(s.modelFitError).c_str());
}

// --csv: the table the window's "Uložit model a křivky (CSV)" writes.
bool writeCsv(const CurveWindowState& s, const Options& o, Failure& f) {
  if (o.csv.empty()) return true;
  const std::string written = orv::writeModelCurvesCsv(s, true, o.csv);
  if (written.empty()) {
    f = {kExitError, "cannot write " + o.csv};
    return false;
  }
  if (written != o.csv)
    std::fprintf(stderr, "orv-cli: %s exists, written to %s\n", o.csv.c_str(), written.c_str());
  return true;
}

void printDepthOfInvestigation(const CurveWindowState& s) {
  std::printf("DOI\t%s\n", real(orv::depthOfInvestigation(s)).c_str());
}

std::string bound(double v) {
  return std::isfinite(v) ? real(v) : std::string("inf");
}

// The ranges with the tolerance the window uses, after the model at its
// minimum.
void printEquivalence(const orv::EquivalenceOutcome& e) {
  std::printf("range\tlayer\trho_min\trho_max\th_min\th_max\ts_min\ts_max\tt_min\tt_max\n");
  for (int i = 0; i < e.layers; ++i) {
    const orv::LayerRanges& l = e.layer[i];
    auto pair = [](const orv::ValueRange& r) { return bound(r.min) + "\t" + bound(r.max); };
    std::printf("range\t%d\t%s\t%s\t%s\t%s\n", i, pair(l.rho).c_str(), pair(l.h).c_str(),
                pair(l.s).c_str(), pair(l.t).c_str());
  }
}

void printUncertainty(const orv::UncertaintyOutcome& u) {
  std::printf("uncertainty\tparameter\tvalue\tfactor\n");
  std::vector<std::string> names;
  for (const orv::UncertainParameter& p : u.parameters) {
    names.push_back((p.isRho ? "rho" : "h") + std::to_string(p.layer));
    std::printf("uncertainty\t%s\t%s\t%s\n", names.back().c_str(), real(p.value).c_str(),
                bound(u.enoughCells ? p.factor : HUGE_VAL).c_str());
  }
  std::printf("correlation\tparameter");
  for (const std::string& name : names) std::printf("\t%s", name.c_str());
  std::printf("\n");
  const size_t n = names.size();
  for (size_t a = 0; a < n; ++a) {
    std::printf("correlation\t%s", names[a].c_str());
    for (size_t b = 0; b < n; ++b) std::printf("\t%s", real(u.correlation[a * n + b]).c_str());
    std::printf("\n");
  }
}

// After the fits: the thorough fit, the equivalence ranges and the
// uncertainty as asked, the model printed, the ranges or the uncertainty
// after it, and the line about a model not to be trusted.
int finishInvert(Session& session, const Options& o, double misfitBefore, Failure& f,
                 bool judge = true) {
  CurveWindowState& s = *session.state;
  const std::unique_ptr<ui::Progress> progress =
      session.dialogs.progress(o.equivalence ? "rozsahy ekvivalence" : "optimalizace");
  orv::EquivalenceOutcome e;
  orv::UncertaintyOutcome u;
  if (o.equivalence) e = orv::equivalenceRangesCore(s, s.equivalenceTolerance, progress.get());
  if (o.uncertainty) u = orv::parameterUncertaintyCore(s, progress.get());
  if (!o.equivalence && !o.uncertainty && o.thorough) orv::thoroughFitCore(s, progress.get());
  printModel(s);
  if (!writeCsv(s, o, f)) return f.code;
  if (o.doi) printDepthOfInvestigation(s);
  if (e.ran) printEquivalence(e);
  if (u.ran) printUncertainty(u);
  if (!judge) return 0;
  const std::string reasons = orv::failedFitReasons(s, misfitBefore);
  if (!reasons.empty()) session.dialogs.message(orv::failedFitMessage(reasons));
  return 0;
}

int runInvert(const Options& o, Failure& f) {
  Session session;
  if (!loadSounding(session, o, f)) return f.code;
  CurveWindowState& s = *session.state;
  if (o.smooth) {
    s.accurateForward = o.accurate;
    if (!orv::smoothInversionCore(s, o.noise > 0.0 ? o.noise : orv::SmoothDefaultNoise).ran) {
      f = {kExitError, orv::inversionRefusalMessage(orv::InversionRefusal::CurveRange)};
      return f.code;
    }
    // The smooth model is what the user asked for, not a fit to be judged.
    return finishInvert(session, o, HUGE_VAL, f, false);
  }
  if (o.autoLayers > 0) {
    s.accurateForward = o.accurate;
    const std::unique_ptr<ui::Progress> progress = session.dialogs.progress("automatický model");
    if (!orv::autoModelCore(s, o.autoLayers, progress.get()).ran) {
      f = {kExitError, orv::inversionRefusalMessage(orv::InversionRefusal::CurveRange)};
      return f.code;
    }
    return finishInvert(session, o, HUGE_VAL, f);
  }
  setModel(s, o);
  s.accurateForward = o.accurate;
  for (int i : o.fixRho) s.rhoFixed[i] = 1;
  for (int i : o.fixThickness) s.thicknessFixed[i] = 1;
  for (int i : o.fixDepth) s.depthFixed[i] = 1;
  if (!orv::computeForwardValues(s, false)) {
    f = {kExitError, orv::ForwardFailedMessage};
    return f.code;
  }
  if (const char* refusal = orv::inversionRefusalMessage(orv::inversionRefusal(s))) {
    f = {kExitError, refusal};
    return f.code;
  }
  const double before = orv::misfitSSQ(s);
  const orv::InversionOutcome outcome = orv::optimiseModelCore(s);
  if (!outcome.ran) {
    f = {kExitError, orv::inversionRefusalMessage(outcome.refusal)};
    return f.code;
  }
  return finishInvert(session, o, before, f);
}

// --- section database files ------------------------------------------------------

const char* fixedMark(float rho, float depth, bool halfSpace) {
  // The half-space has no lower boundary whose depth could be fixed.
  const bool r = rho < 0.0f, d = !halfSpace && depth < 0.0f;
  if (r && d) return "rho+depth";
  if (r) return "rho";
  if (d) return "depth";
  return "-";
}

// A name as one cell of a row: UTF-8, a tab inside it a blank.
std::string cellText(std::string_view cp1250) {
  std::string t = orv::cp1250ToUtf8(cp1250);
  for (char& c : t)
    if (c == '\t') c = ' ';
  return t;
}

// Reads a database as the section window does, into a zero-filled block on
// the heap (far too large for the stack).
bool readDatabaseFile(const std::string& path, orv::SectionDatabase& db, orv::VdbReadResult& read,
                      Failure& f) {
  orv::setInitialDatabaseState(db);
  read = orv::readVdb(db, path.c_str());
  if (read.code != 1) {
    f = {kExitError, read.code == -1 ? orv::notDatabaseMessage(path) : "cannot open " + path};
    return false;
  }
  return true;
}

Failure incompleteFile(const std::string& path, const orv::VdbReadResult& read) {
  return {kExitError, path + ": " + orv::incompleteDatabaseMessage(read.pointsRead)};
}

int runVdbList(const std::string& path, Failure& f) {
  orv::ZeroedBlock<orv::SectionDatabase> db;
  orv::VdbReadResult read;
  if (!readDatabaseFile(path, *db, read, f)) return f.code;
  std::printf("profile\tpoint\tname\tchainage\treadings\tlayers\tssq\n");
  std::printf("\tlayer\trho\tdepth\tfixed\n");
  for (int p = 0; p <= db->mxindex_profilu; ++p) {
    const orv::SectionProfile& pf = db->profiles[p];
    for (int b = 0; b <= pf.mxindex_bodu; ++b) {
      const orv::SectionPoint& pt = pf.points[b];
      std::printf("%d\t%d\t%s\t%s\t%d\t%d\t%s\n", p, b, cellText(orv::textOf(pt.pointName)).c_str(),
                  real(pt.profileChainage).c_str(), pt.Mermx, pt.MDLmx + 1,
                  real(pt.fitError).c_str());
      for (int i = 0; i <= pt.MDLmx; ++i) {
        const bool halfSpace = i == pt.MDLmx;
        std::printf("\t%d\t%s\t%s\t%s\n", i, real(std::fabs(pt.layerRho[i])).c_str(),
                    halfSpace ? "inf" : real(std::fabs(pt.layerDepth[i])).c_str(),
                    fixedMark(pt.layerRho[i], pt.layerDepth[i], halfSpace));
      }
    }
  }
  if (read.truncated) {
    f = incompleteFile(path, read);
    return f.code;
  }
  return 0;
}

int writeNewDatabase(orv::SectionDatabase& db, const std::string& out, Failure& f);

int runVdbCopy(const std::string& in, const std::string& out, Failure& f) {
  orv::ZeroedBlock<orv::SectionDatabase> db;
  orv::VdbReadResult read;
  if (!readDatabaseFile(in, *db, read, f)) return f.code;
  // A copy would look whole and hide what the original lost.
  if (read.truncated) {
    f = incompleteFile(in, read);
    f.text += " " + out + " not written";
    return f.code;
  }
  return writeNewDatabase(*db, out, f);
}

// Saves db as a new file out; an existing out is never overwritten.
int writeNewDatabase(orv::SectionDatabase& db, const std::string& out, Failure& f) {
  errno = 0;
  std::FILE* file = std::fopen(out.c_str(), "wbx");
  if (!file) {
    f = {kExitError, errno == EEXIST ? out + " exists, not overwritten" : "cannot create " + out};
    return f.code;
  }
  // The file names itself, as a save in the section window does.
  orv::setText(db.fileName, out);
  bool written = orv::writeVdb(db, file);
  written = std::fclose(file) == 0 && written;
  if (!written) {
    std::remove(out.c_str());
    f = {kExitError, "cannot write " + out};
    return f.code;
  }
  return 0;
}

struct ProfileOptions {
  std::string in, out;
  int profile = -1;
  bool thorough = false;
  int autoLayers = 0;
  int lciLayers = 0;
  double lateral = -1.0;
  double noise = orv::LateralDefaultNoise;
};

bool parseProfileOptions(int argc, char** argv, ProfileOptions& o, Failure& f) {
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--thorough") {
      o.thorough = true;
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      if (arg != "--profile" && arg != "--auto" && arg != "--out" && arg != "--lci" &&
          arg != "--lateral" && arg != "--noise") {
        f = usage("unknown option " + std::string(arg) + " for profile");
        return false;
      }
      if (i + 1 >= argc) {
        f = usage("option " + std::string(arg) + " needs a value");
        return false;
      }
      const std::string_view value = argv[++i];
      bool ok = true;
      if (arg == "--profile") {
        ok = parseInt(value, o.profile) && o.profile >= 0 && o.profile < orv::MaxProfiles;
      } else if (arg == "--auto") {
        ok = parseInt(value, o.autoLayers) && o.autoLayers >= orv::AutoModelMinLayers &&
             o.autoLayers <= orv::AutoModelMaxLayers;
      } else if (arg == "--lci") {
        ok = parseInt(value, o.lciLayers) && o.lciLayers >= orv::AutoModelMinLayers &&
             o.lciLayers <= orv::AutoModelMaxLayers;
      } else if (arg == "--lateral") {
        ok = parseDouble(value, o.lateral) && o.lateral > 0.0 && std::isfinite(o.lateral);
      } else if (arg == "--noise") {
        ok = parseDouble(value, o.noise) && o.noise > 0.0 && std::isfinite(o.noise);
      } else {
        o.out = std::string(value);
        ok = !value.empty();
      }
      if (!ok) {
        f = usage("bad value '" + std::string(value) + "' of " + std::string(arg));
        return false;
      }
    } else if (o.in.empty()) {
      o.in = std::string(arg);
    } else {
      f = usage("unexpected argument " + std::string(arg));
      return false;
    }
  }
  if (o.in.empty() || o.out.empty() || o.profile < 0) {
    f = usage("profile needs FILE.vdb, --profile P and --out OUT.vdb");
    return false;
  }
  if ((o.thorough ? 1 : 0) + (o.autoLayers > 0 ? 1 : 0) + (o.lciLayers > 0 ? 1 : 0) != 1) {
    f = usage("profile needs one of --thorough, --auto N, --lci N");
    return false;
  }
  if ((o.lciLayers > 0) != (o.lateral > 0.0)) {
    f = usage("--lci N goes with --lateral S");
    return false;
  }
  return true;
}

int runProfile(int argc, char** argv, Failure& f) {
  ProfileOptions o;
  if (!parseProfileOptions(argc, argv, o, f)) return f.code;
  orv::ZeroedBlock<orv::SectionDatabase> db;
  orv::VdbReadResult read;
  if (!readDatabaseFile(o.in, *db, read, f)) return f.code;
  if (read.truncated) {
    f = incompleteFile(o.in, read);
    return f.code;
  }
  if (o.profile > db->mxindex_profilu || db->profiles[o.profile].mxindex_bodu < 0) {
    f = {kExitError, "profile " + std::to_string(o.profile) + " has no point in " + o.in};
    return f.code;
  }
  // Refused before the work: the result would have nowhere to go.
  if (std::FILE* existing = std::fopen(o.out.c_str(), "rb")) {
    std::fclose(existing);
    f = {kExitError, o.out + " exists, not overwritten"};
    return f.code;
  }
  orv::SectionProfile& profile = db->profiles[o.profile];
  orv::ZeroedBlock<CurveWindowState> scratch;
  orv::ProfileBatchOutcome out;
  orv::cli::StderrDialogs dialogs;
  const std::shared_ptr<ui::Progress> progress = dialogs.progress(
      o.lciLayers > 0 ? "laterálně vázaná inverze" : "interpretace celého profilu");
  const orv::WorkProgress step = [&](int done, int total) { return progress->step(done, total); };
  if (o.lciLayers > 0) {
    orv::LateralSettings settings;
    settings.strength = o.lateral;
    settings.noise = o.noise;
    const orv::ProfileLateralOutcome lci =
        orv::lateralInversionOfProfile(profile, *scratch, o.lciLayers, settings, step);
    if (!lci.ran) {
      f = {kExitError, "a point of profile " + std::to_string(o.profile) +
                           " has no usable curve or model: nothing written"};
      return f.code;
    }
    std::printf("joint_ssq\t%s\nindependent_ssq\t%s\n", real(lci.jointMisfit).c_str(),
                real(lci.independentMisfit).c_str());
    if (lci.jointMisfit > orv::LateralTightRatio * lci.independentMisfit)
      std::fprintf(stderr, "orv-cli: the constraints are too tight (joint misfit %.1f x)\n",
                   lci.jointMisfit / lci.independentMisfit);
    out.rows = lci.rows;
  } else {
    orv::ProfileBatchSettings settings;
    settings.autoLayers = o.autoLayers;
    out = orv::interpretProfileCore(profile, *scratch, settings, step);
  }
  std::printf("point\tname\tssq_before\tssq_after\tlayers\n");
  auto cell = [](double v) { return v < HUGE_VAL ? real(v) : std::string("-"); };
  for (const orv::ProfileBatchRow& r : out.rows) {
    std::printf("%d\t%s\t%s\t%s\t%d\n", r.point,
                cellText(orv::textOf(profile.points[r.point].pointName)).c_str(),
                cell(r.before).c_str(), cell(r.after).c_str(), r.layers);
  }
  return writeNewDatabase(*db, o.out, f);
}

int runVdbCommand(std::string_view command, int argc, char** argv) {
  const int wanted = command == "vdb-list" ? 1 : 2;
  Failure f{0, ""};
  std::vector<std::string> files;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.size() > 1 && arg[0] == '-') {
      f = usage("unknown option " + std::string(arg) + " for " + std::string(command));
      break;
    }
    files.emplace_back(arg);
  }
  if (f.code == 0 && static_cast<int>(files.size()) != wanted)
    f = usage(std::string(command) +
              (wanted == 1 ? " needs one database file" : " needs IN and OUT"));
  int code = f.code;
  if (code == 0) code = wanted == 1 ? runVdbList(files[0], f) : runVdbCopy(files[0], files[1], f);
  if (code != 0) std::fprintf(stderr, "orv-cli: %s\n", f.text.c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "orv-cli: no command (see orv-cli --help)\n");
    return kExitUsage;
  }
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    if (argc > 2) {
      std::fprintf(stderr, "orv-cli: --help takes no arguments\n");
      return kExitUsage;
    }
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (command == "vdb-list" || command == "vdb-copy") return runVdbCommand(command, argc, argv);
  if (command == "ip") return orv::cli::runIp(argc, argv);
  if (command == "profile") {
    Failure f{0, ""};
    const int code = runProfile(argc, argv, f);
    if (code != 0) std::fprintf(stderr, "orv-cli: %s\n", f.text.c_str());
    return code;
  }
#if ORV_CLI_PICTURES
  if (command == "section") return orv::cli::runSectionPicture(argc, argv);
  if (command == "export") return orv::cli::runExport(argc, argv);
#endif
  if (command != "merge" && command != "forward" && command != "invert") {
    std::fprintf(stderr, "orv-cli: unknown command %s (see orv-cli --help)\n", argv[1]);
    return kExitUsage;
  }
  Options options;
  Failure failure{0, ""};
  int code = 0;
  if (!parseOptions(command, argc, argv, options, failure)) {
    code = failure.code;
  } else if (command == "merge") {
    code = runMerge(options, failure);
  } else if (command == "forward") {
    code = runForward(options, failure);
  } else {
    code = runInvert(options, failure);
  }
  if (code != 0) std::fprintf(stderr, "orv-cli: %s\n", failure.text.c_str());
  return code;
}
