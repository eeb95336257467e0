#include "cli/sounding_input.h"

#include <cctype>

#include "commands/curve/derive_readings.h"
#include "core/curve/instrument_file.h"
#include "core/curve/oax_file.h"
#include "core/curve/sas_file.h"
#include "core/curve/table_file.h"

namespace orv::cli {

CurveRun::CurveRun() {
  setInitialCurveState(*state);
  finishCurveStateConstruction(*state);
}

SoundingFile soundingFileKind(const std::string& path) {
  std::string ext;
  const size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && path.find('/', dot) == std::string::npos) ext = path.substr(dot);
  for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (ext == ".oax") return SoundingFile::Oax;
  if (ext == ".sas") return SoundingFile::Sas;
  if (hasTableExtension(path)) return SoundingFile::Table;
  return SoundingFile::Kmt;
}

InstrumentRead readInstrumentFile(CurveRun& run, const std::string& path, SoundingFile kind) {
  CurveWindowState& s = *run.state;
  InstrumentRead r;
  if (kind == SoundingFile::Table) {
    const TableReadResult table = readTableFile(s, path.c_str());
    const std::string notice = tableNoticeText(table);
    if (!notice.empty()) run.dialogs.message(notice);
    if (table.code == 0)
      r.failure = "cannot open " + path;
    else if (table.code != 1 || deriveReadings(run.c, ReadingOrigin::InMemory) != 1)
      r.failure = path + " has no usable reading";
    r.ok = r.failure.empty();
    return r;
  }
  const InstrumentReadResult read =
      kind == SoundingFile::Oax ? readOaxData(s, path.c_str()) : readSasData(s, path.c_str());
  if (read.code == 0) {
    r.failure = "cannot open " + path;
    return r;
  }
  r.ipHeader = kind == SoundingFile::Oax && read.ipHeader;
  const ReadingOrigin origin =
      kind == SoundingFile::Sas
          ? ReadingOrigin::Sas
          : (read.ipHeader ? ReadingOrigin::OaxWithIpHeader : ReadingOrigin::PlainOax);
  if (deriveReadings(run.c, origin) != 1) {
    r.failure = path + " has no usable reading";
    return r;
  }
  const std::string notice = instrumentNoticeText(read.notice);
  if (!notice.empty()) run.dialogs.message(notice);
  r.ok = true;
  return r;
}

}  // namespace orv::cli
