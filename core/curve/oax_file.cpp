#include "core/curve/oax_file.h"

#include <cstring>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "core/curve/instrument_text.h"

namespace orv {
namespace {

// Lines searched for the window lines and for the table header.
constexpr int HeaderSearchLines = 200;
// Lines (blocks or others) read for the readings of variant A.
constexpr int ReadingLinesVariantA = 200;

struct OaxRow {
  float ipReference;  // column 1
  float rho;          // column 3
  float s;            // column 6
  float abHalf;       // column 8
  float mnHalf;       // column 10
  int32_t branch;     // column 12
};

// "%f %f %f %f %f %f %f %f %f %f %f %i %f" read as a stream.
bool readRow(InstrumentText& in, OaxRow& r) {
  float v[11];
  for (float& x : v)
    if (!in.readFloat(x)) return false;
  int32_t branch = 0;
  float last = 0;
  if (!in.readInt(branch) || !in.readFloat(last)) return false;
  r = {v[0], v[2], v[5], v[7], v[9], branch};
  return true;
}

// A "U" or "I" line: "%s %i", the count of the samples that follow.
int32_t blockCount(const InstrumentLine& line) {
  char word[InstrumentLineBuffer];
  int32_t n = 0;
  if (cscan(line, "%299s %i", word, &n) != 2 || n < 0) return 0;
  return n;
}

bool isWindowStart(const InstrumentLine& l) {
  return l[0] == ';' && textAt(l, 2, "Zacat") && textAt(l, 8, "k") && textAt(l, 11, "naVP");
}
bool isImpulseSection(const InstrumentLine& l) {
  return l[0] == ';' && textAt(l, 2, "[Impu") && textAt(l, 10, ".Meas");
}
// "naměř" in Windows-1250.
bool isTableHeader(const InstrumentLine& l) {
  return std::strncmp(l, "nam\xec\xf8", 5) == 0;
}

// The window lines, the impulse section and its six timing lines. False when
// the impulse section is missing: the file has then no timing and no table.
bool readIpHeader(InstrumentText& in, CurveWindowState& s) {
  InstrumentLine line;
  for (int i = 0; i < HeaderSearchLines && in.nextLine(line); ++i)
    if (isWindowStart(line)) break;
  // The end-of-windows line follows, whatever it holds: the window limits of
  // the instrument are not used, the windows are the program's own.
  in.nextLine(line);
  bool found = false;
  while (!found && in.nextLine(line)) found = isImpulseSection(line);
  if (!found) return false;

  struct Key {
    const char* format;
    int32_t* target;
  } const keys[] = {{";\tOnTime=%i", &s.ipOnTime},     {";\tOffTime=%i", &s.ipOffTime},
                    {";\tLeadTime=%i", &s.ipLeadTime}, {";\tDeadTime=%i", nullptr},
                    {";\tTailTime=%i", &s.ipTailTime}, {";\tSamplingPeriod=%i", nullptr}};
  for (const Key& k : keys) {
    if (!in.nextLine(line)) break;
    int32_t v = 0;
    if (cscan(line, k.format, &v) == 1 && k.target) *k.target = v;
  }
  return true;
}

// n pairs "%i %f" of a decay; the first MaxDecaySamples are kept when time
// and value are given.
bool readSamples(InstrumentText& in, int32_t n, int32_t* time, float* value,
                 InstrumentReadNotice& notice) {
  for (int32_t k = 0; k < n; ++k) {
    int32_t t = 0;
    float v = 0;
    if (!in.readInt(t) || !in.readFloat(v)) return false;
    if (k < MaxDecaySamples && time) {
      time[k] = t;
      value[k] = v;
    } else if (time) {
      notice.samplesCapped = true;
    }
  }
  return true;
}

enum class Stored { Kept, Left, Stop };

Stored storeRow(CurveWindowState& s, const OaxRow& r, bool withIp, InstrumentReadNotice& notice) {
  const int i = s.readingCount;
  if (i >= MaxReadings) return Stored::Stop;
  if (r.branch < 1 || r.branch > MaxBranch) {
    ++notice.droppedBranch;
    return Stored::Left;
  }
  // A resistivity that is not positive has no logarithm; the slot is taken
  // by the next reading.
  if (!(r.rho > 0)) return Stored::Left;
  if (withIp) {
    s.readingIpReference[i] = r.ipReference;
  } else {
    // A plain file carries no polarisation: nothing of an earlier IP
    // sounding may stay attached to its readings.
    s.readingIpReference[i] = 0;
    s.decaySampleCount[i] = 0;
  }
  s.readingRho[i] = r.rho;
  s.readingS[i] = r.s;
  s.readingAbHalf[i] = r.abHalf;
  s.readingMnHalf[i] = r.mnHalf;
  s.readingBranch[i] = r.branch;
  ++s.readingCount;
  return Stored::Kept;
}

// One reading block from its "U" line on; false when reading must stop.
bool readBlock(InstrumentText& in, CurveWindowState& s, const InstrumentLine& uLine,
               InstrumentReadNotice& notice) {
  const int i = s.readingCount;
  if (i >= MaxReadings) {
    notice.readingsCapped = true;
    return false;
  }
  const int32_t n = blockCount(uLine);
  s.decaySampleCount[i] = n < MaxDecaySamples ? n : MaxDecaySamples;
  if (!readSamples(in, n, s.decaySampleTime[i], s.decaySampleValue[i], notice)) {
    notice.truncatedBlock = true;
    return false;
  }
  // Without samples the "U" line itself was the last one read.
  if (n > 0) in.skipRestOfLine();
  InstrumentLine line;
  if (!in.nextLine(line)) {
    notice.truncatedBlock = true;
    return false;
  }
  // The current's decay is read and not kept; any other line is passed over.
  if (line[0] == 'I' && !readSamples(in, blockCount(line), nullptr, nullptr, notice)) {
    notice.truncatedBlock = true;
    return false;
  }
  OaxRow row;
  if (!readRow(in, row)) return false;
  in.skipRestOfLine();
  return storeRow(s, row, true, notice) != Stored::Stop;
}

void readVariantA(InstrumentText& in, CurveWindowState& s, InstrumentReadNotice& notice) {
  InstrumentLine line;
  for (int i = 0; i < HeaderSearchLines && in.nextLine(line); ++i)
    if (isTableHeader(line)) break;
  int lines = 0;
  for (; lines < ReadingLinesVariantA; ++lines) {
    if (!in.nextLine(line)) return;
    if (line[0] != 'U') continue;
    if (!readBlock(in, s, line, notice)) return;
  }
  if (in.anyLineStartsWith('U')) notice.readingsCapped = true;
}

void readVariantB(InstrumentText& in, CurveWindowState& s, InstrumentReadNotice& notice) {
  OaxRow row;
  for (int rows = 0; rows < MaxReadings; ++rows) {
    if (!readRow(in, row)) return;
    in.skipRestOfLine();
    if (storeRow(s, row, false, notice) == Stored::Stop) return;
  }
  if (readRow(in, row)) notice.readingsCapped = true;
}

}  // namespace

InstrumentReadResult readOaxData(CurveWindowState& s, const char* path) {
  InstrumentReadResult result;
  InstrumentText in(path);
  if (!in.ok()) return result;
  result.code = 1;

  InstrumentLine line;
  in.nextLine(line);
  if (in.nextLine(line)) {
    char date[InstrumentLineBuffer];
    char time[InstrumentLineBuffer];
    if (cscan(line, "%299s %299s", date, time) >= 1) setText(s.dateText, date);
  }
  in.nextLine(line);
  in.nextLine(line);
  const std::size_t line5 = in.position();
  in.nextLine(line);

  s.readingCount = 0;
  if (line[0] != ';') {
    in.seek(line5);
    readVariantB(in, s, result.notice);
    return result;
  }
  result.ipHeader = true;
  if (!readIpHeader(in, s)) return result;
  generateDefaultIpWindows(s);
  readVariantA(in, s, result.notice);
  return result;
}

}  // namespace orv
