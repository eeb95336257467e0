#include "core/curve/kmt_file.h"

#include <climits>
#include <cmath>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "base/line_reader.h"

namespace orv {
namespace {

using LineBuffer = char[KmtLineBuffer];

// One line of the file, cut to the buffer. The line reader hands a line that
// does not fit over in pieces; the pieces after the first are skipped here, so
// that the tail of an overlong line can never pass for a line of its own (a
// tail starting with "n" would otherwise open a phantom record).
bool nextLine(LineReader& in, LineBuffer& buf) {
  constexpr int last = KmtLineBuffer - 1;
  // The reader writes the terminating NUL at buf[last] only when it filled the
  // whole buffer; the sentinel tells that apart even when the line holds NULs.
  buf[last] = 'x';
  if (!in.next(buf, KmtLineBuffer)) return false;
  bool cut = buf[last] == '\0' && buf[last - 1] != '\n';
  while (cut) {
    LineBuffer rest;
    rest[last] = 'x';
    if (!in.next(rest, KmtLineBuffer)) break;
    cut = rest[last] == '\0' && rest[last - 1] != '\n';
  }
  return true;
}

// "x %s" of a header line into a text buffer; a line that does not match
// leaves the text unchanged.
template <std::size_t N>
void scanWord(const LineBuffer& line, const char* format, char (&text)[N]) {
  LineBuffer word;
  if (cscan(line, format, word) == 1) setText(text, word);
}

struct KmtReading {
  float rho;
  int s;
  float abHalf;
  float mnHalf;
};

// A reading line as the meter writes it. Figures that are not finite numbers
// are refused like any other malformed line: they would turn into grid
// indices and logarithms that nothing downstream can hold.
bool scanReading(const LineBuffer& line, KmtReading& r) {
  if (line[0] != 'r') return false;
  if (cscan(line, "r%f s%i a%f m%f", &r.rho, &r.s, &r.abHalf, &r.mnHalf) != 4) return false;
  if (!std::isfinite(r.rho) || !std::isfinite(r.abHalf) || !std::isfinite(r.mnHalf)) return false;
  return r.abHalf >= 1.0 && r.mnHalf >= 0.1;
}

float acceptedRho(float rho) {
  if (rho < 0) return -rho;
  if (rho == 0) return 0.000001f;
  return rho;
}

int truncatedS(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return INT_MAX;  // largest float below 2^31
  if (v <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(v);
}

// MN/2 written for output branch b: the branch's own, or, when no reading of
// that branch exists, the nearest measured branch's, so that the record can be
// read back (a line with MN/2 below 0.1 m ends a record).
float outputMnHalf(const CurveWindowState& s, int b, int branches) {
  if (s.branchMnHalf[b] > 0) return s.branchMnHalf[b];
  for (int j = b - 1; j >= 1; --j)
    if (s.branchMnHalf[j] > 0) return s.branchMnHalf[j];
  for (int j = b + 1; j <= branches; ++j)
    if (s.branchMnHalf[j] > 0) return s.branchMnHalf[j];
  return s.branchMnHalf[b];
}

int clampCell(int k) {
  return k < 0 ? 0 : (k >= GridCells ? GridCells - 1 : k);
}

int mergedBranches(const CurveWindowState& s) {
  int n = s.branchCount;
  return n < 0 ? 0 : (n > MaxBranch ? MaxBranch : n);
}

}  // namespace

int kmtBranchOfMnHalf(float m) {
  if (m < 1) return 1;
  if (m < 5) return 2;
  if (m < 20) return 3;
  if (m < 100) return 4;
  if (m < 300) return 5;
  return 6;
}

KmtReadResult readKmtRecord(CurveWindowState& s, const char* path, int recordIndex) {
  LineReader in(path);
  if (!in.ok()) return {0, 0};
  if (recordIndex < 0) return {-2, 0};

  LineBuffer line;
  int found = 0;
  while (found < recordIndex + 1) {
    if (!nextLine(in, line)) return {-2, 0};
    if (line[0] == 'n') ++found;
  }

  scanWord(line, "n %299s", s.operatorText);
  // The four header lines are taken by position, whatever they begin with.
  for (int h = 0; h < 4; ++h) {
    if (!nextLine(in, line)) break;
    int number = 0;
    switch (h) {
      case 0:
        if (cscan(line, "b %i", &number) == 1) s.pointNumber = number;
        break;
      case 1:
        if (cscan(line, "p %i", &number) == 1) s.profileNumber = number;
        break;
      case 2:
        scanWord(line, "l %299s", s.localityText);
        break;
      default:
        scanWord(line, "d %299s", s.dateText);
        break;
    }
  }

  KmtReadResult result{1, 0};
  s.readingCount = 0;
  while (s.readingCount < MaxReadings && nextLine(in, line)) {
    KmtReading r;
    if (!scanReading(line, r)) break;
    const int i = s.readingCount;
    s.readingAbHalf[i] = r.abHalf;
    s.readingMnHalf[i] = r.mnHalf;
    s.readingRho[i] = acceptedRho(r.rho);
    s.readingS[i] = static_cast<float>(r.s);
    s.readingBranch[i] = kmtBranchOfMnHalf(r.mnHalf);
    // The meter measures no polarisation: nothing of an earlier IP sounding
    // may stay attached to these readings.
    s.readingIpReference[i] = 0;
    s.decaySampleCount[i] = 0;
    if (s.readingBranch[i] > MaxBranch) ++result.readingsWithoutBranch;
    ++s.readingCount;
  }
  // The rest of a record too long for the arrays is counted, not taken.
  if (s.readingCount == MaxReadings) {
    KmtReading r;
    while (nextLine(in, line) && scanReading(line, r)) ++result.readingsBeyondCapacity;
  }
  result.readingCount = s.readingCount;
  return result;
}

std::string kmtNoticeText(const KmtReadResult& read) {
  std::string text;
  if (read.readingsBeyondCapacity > 0)
    text += cformat(
        "Záznam obsahuje víc měření, než lze načíst (nejvýše %i); nenačteno zbylých %i měření.",
        MaxReadings, read.readingsBeyondCapacity);
  if (read.readingsWithoutBranch > 0) {
    if (!text.empty()) text += "\n";
    text += cformat("Vynecháno měření s MN/2 od 300 m výše (víc než 5 větví nelze zpracovat): %i",
                    read.readingsWithoutBranch);
  }
  return text;
}

int kmtOutputBranchCount(const CurveWindowState& s) {
  const int n = mergedBranches(s);
  if (n <= 1) return n;
  // The last output branch takes every grid index from 6 x (n - 1) on; when
  // the last measured branch has fewer than three merged values there, its
  // values go out with the branch before it.
  int from = s.gridMinIndex > 6 * (n - 1) ? s.gridMinIndex : 6 * (n - 1);
  from = clampCell(from);
  const int to = clampCell(s.gridMaxIndex);
  int populated = 0;
  for (int k = from; k <= to; ++k)
    if (s.mergedRho[k][n] > 0) ++populated;
  return populated < 3 ? n - 1 : n;
}

namespace {

// A line break inside a text would start a line of its own, which the reader
// takes by position as the next header field.
void appendHeaderText(std::string& out, std::string_view text) {
  for (char ch : text) out += ch == '\r' || ch == '\n' ? ' ' : ch;
}

}  // namespace

std::string formatKmtRecord(const CurveWindowState& s, bool firstRecordOfNewFile) {
  std::string out;
  if (!firstRecordOfNewFile) out += "\r\n";
  out += "n ";
  appendHeaderText(out, textOf(s.operatorText));
  out += cformat("\r\nb %i", s.pointNumber);
  out += cformat("\r\np %i", s.profileNumber);
  out += "\r\nl ";
  appendHeaderText(out, textOf(s.localityText));
  out += "\r\nd ";
  appendHeaderText(out, textOf(s.dateText));

  const int branches = mergedBranches(s);
  const int outputBranches = kmtOutputBranchCount(s);
  const int first = clampCell(s.gridMinIndex);
  const int last = clampCell(s.gridMaxIndex);
  for (int b = 1; b <= outputBranches; ++b) {
    const float mn = outputMnHalf(s, b, branches);
    for (int k = first; k <= last; ++k) {
      // Neighbouring output branches share the grid indices 6b and 6b + 1.
      const bool belongs = 6 * (b - 1) <= k && (b == outputBranches || k <= 6 * b + 1);
      if (!belongs) continue;
      for (int j = 1; j <= branches; ++j) {
        if (!(s.mergedRho[k][j] > 0)) continue;
        out += cformat("\r\nr %f s%i a%f m%f", static_cast<double>(s.mergedRho[k][j]),
                       truncatedS(s.cellS[k][j]), static_cast<double>(s.gridAbHalf[k]),
                       static_cast<double>(mn));
        break;
      }
    }
  }
  return out;
}

}  // namespace orv
