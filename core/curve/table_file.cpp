#include "core/curve/table_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "core/curve/grid_index.h"

namespace orv {
namespace {

// What a line of the file is.
enum class LineKind { Blank, Text, Reading, Bad };

struct Reading {
  float abHalf = 0;
  float mnHalf = 0;
  float rho = 0;
  int branch = 0;  // 0: from the MN/2 changes
  int fields = 0;
};

struct Classified {
  LineKind kind = LineKind::Blank;
  Reading r;
  const char* why = "";  // the reason of a bad line
};

// Characters of a bad line shown in the message.
constexpr std::size_t ShownLineLength = 60;
// Bad lines listed one by one in the message.
constexpr int ListedBadLines = 10;

bool validUtf8(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size()) {
    const auto c = static_cast<unsigned char>(t[i]);
    const int follow = c < 0x80         ? 0
                       : (c >> 5) == 6  ? 1
                       : (c >> 4) == 14 ? 2
                       : (c >> 3) == 30 ? 3
                                        : -1;
    if (follow < 0 || (follow > 0 && (c < 0xC2 || i + follow >= t.size()))) return false;
    for (int k = 1; k <= follow; ++k)
      if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return false;
    i += follow + 1;
  }
  return true;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The "Unicode text" of spreadsheets: UTF-16 after its byte-order mark.
std::string utf16ToUtf8(std::string_view body, bool littleEndian) {
  std::string out;
  auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(body[i]);
    const auto b = static_cast<unsigned char>(body[i + 1]);
    return static_cast<char32_t>(littleEndian ? a | (b << 8) : (a << 8) | b);
  };
  for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < body.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
    appendUtf8(out, c);
  }
  return out;
}

// The file's text as UTF-8; only header and bad lines are letters, the
// readings themselves are plain digits in every encoding.
std::string decodeText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (bytes.substr(0, 2) == "\xFF\xFE") return utf16ToUtf8(bytes.substr(2), true);
  if (bytes.substr(0, 2) == "\xFE\xFF") return utf16ToUtf8(bytes.substr(2), false);
  if (validUtf8(bytes)) return std::string(bytes);
  return cp1250ToUtf8(bytes);
}

std::string_view trimBlanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

std::vector<std::string> splitOn(std::string_view line, std::string_view separators,
                                 bool decimalComma) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find_first_of(separators, start);
    std::string f(
        trimBlanks(line.substr(start, end == std::string_view::npos ? end : end - start)));
    if (decimalComma)
      for (char& ch : f)
        if (ch == ',') ch = '.';
    fields.push_back(std::move(f));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  // A row the spreadsheet closed with separators ("1;0,5;80;;").
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

std::vector<std::string> splitBlanks(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) {
      std::string f(line.substr(start, i - start));
      for (char& ch : f)
        if (ch == ',') ch = '.';
      fields.push_back(std::move(f));
    }
  }
  return fields;
}

// A whole field as a finite float, correctly rounded from its decimal text
// (the conversion "%f" of the KMT reader gives the same float).
bool parseField(std::string_view f, float& out) {
  if (!f.empty() && f.front() == '+') f.remove_prefix(1);
  if (f.empty()) return false;
  float v = 0;
  const auto [ptr, ec] = std::from_chars(f.data(), f.data() + f.size(), v);
  if (ec != std::errc() || ptr != f.data() + f.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

bool allNumbers(const std::vector<std::string>& fields) {
  float v;
  for (const std::string& f : fields)
    if (!parseField(f, v)) return false;
  return true;
}

// Tabs and semicolons are separators wherever they occur, and a comma beside
// them is the decimal comma. Without them a comma separates when that gives
// a reading of three or four numbers; otherwise blanks separate and a comma
// is decimal ("1,5 0,5 120").
std::vector<std::string> fieldsOf(std::string_view line) {
  if (line.find_first_of("\t;") != std::string_view::npos) return splitOn(line, "\t;", true);
  if (line.find(',') != std::string_view::npos) {
    std::vector<std::string> byComma = splitOn(line, ",", false);
    if (byComma.size() >= 3 && byComma.size() <= 4 && allNumbers(byComma)) return byComma;
  }
  return splitBlanks(line);
}

Classified classify(std::string_view line) {
  Classified c;
  const std::vector<std::string> fields = fieldsOf(line);
  if (fields.empty()) return c;
  float first;
  if (!parseField(fields[0], first)) {
    c.kind = LineKind::Text;
    return c;
  }
  c.kind = LineKind::Bad;
  Reading& r = c.r;
  r.fields = static_cast<int>(fields.size());
  float branch = 0;
  if (r.fields < 3 || r.fields > 4 || !parseField(fields[1], r.mnHalf) ||
      !parseField(fields[2], r.rho) || (r.fields == 4 && !parseField(fields[3], branch))) {
    c.why = "nejsou tři nebo čtyři čísla";
    return c;
  }
  r.abHalf = first;
  if (r.fields == 4 && branch == 0) branch = -1;  // a zero branch is no branch
  if (const char* why = readingRefusal(r.abHalf, r.mnHalf, r.rho, branch)) {
    c.why = why;
    return c;
  }
  r.branch = static_cast<int>(branch);
  c.kind = LineKind::Reading;
  return c;
}

std::string shownLine(std::string_view line, const char* why) {
  std::string t(trimBlanks(line));
  if (t.size() > ShownLineLength) {
    std::size_t cut = ShownLineLength;
    // Not inside a letter of several bytes.
    while (cut > 0 && (static_cast<unsigned char>(t[cut]) & 0xC0) == 0x80) --cut;
    t = t.substr(0, cut) + "…";
  }
  if (*why) t += std::string(" (") + why + ")";
  return t;
}

// The readings of a file, before they replace those of the window.
struct Taken {
  int count = 0;
  float abHalf[MaxReadings];
  float mnHalf[MaxReadings];
  float rho[MaxReadings];
  int32_t branch[MaxReadings];
};

}  // namespace

const char* readingRefusal(float abHalf, float mnHalf, float rho, double branch) {
  const int32_t k = abHalf > 0 ? gridIndexOf(abHalf).k : -1;
  if (k < 0 || k >= GridCells) return "AB/2 musí být větší než 0,6 m";
  if (!(mnHalf > 0) || !std::isfinite(mnHalf)) return "MN/2 musí být kladné";
  if (!(rho > 0) || !std::isfinite(rho)) return "zdánlivá rezistivita musí být kladná";
  if (branch != 0 && !(branch >= 1 && branch <= MaxBranch && branch == std::floor(branch)))
    return "větev musí být 1 až 5";
  return nullptr;
}

TableReadResult parseTableReadings(CurveWindowState& s, std::string_view bytes) {
  TableReadResult result;
  const std::string text = decodeText(bytes.substr(0, TableFileLimit));
  auto taken = std::make_unique<Taken>();
  bool numbersSeen = false;
  int fieldsPerReading = 0;
  float branchMnHalf[MaxBranch];
  int branches = 0;

  std::size_t start = 0;
  for (int lineNumber = 1; start <= text.size(); ++lineNumber) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line(text.data() + start, end - start);
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);

    Classified c = classify(line);
    if (c.kind == LineKind::Blank) continue;
    // Header lines stand before the readings; text among them is a slip.
    if (c.kind == LineKind::Text && !numbersSeen) continue;
    if (c.kind == LineKind::Text) c.why = "není měření";
    numbersSeen = true;
    if (c.kind == LineKind::Reading) {
      if (fieldsPerReading == 0) fieldsPerReading = c.r.fields;
      if (c.r.fields != fieldsPerReading) {
        c.kind = LineKind::Bad;
        c.why = fieldsPerReading == 4 ? "chybí větev" : "větev má jen část řádků";
      } else if (c.r.branch == 0) {
        // Branches in the order of the lines: each MN/2 not met before opens
        // the next one.
        int b = 0;
        while (b < branches && branchMnHalf[b] != c.r.mnHalf) ++b;
        if (b == branches && branches < MaxBranch) branchMnHalf[branches++] = c.r.mnHalf;
        if (b < branches) {
          c.r.branch = b + 1;
        } else {
          c.kind = LineKind::Bad;
          c.why = "víc než 5 různých MN/2";
        }
      }
    }
    if (c.kind != LineKind::Reading) {
      result.badLines.push_back({lineNumber, shownLine(line, c.why)});
      continue;
    }
    if (taken->count >= MaxReadings) {
      ++result.readingsBeyondCapacity;
      continue;
    }
    const int i = taken->count++;
    taken->abHalf[i] = c.r.abHalf;
    taken->mnHalf[i] = c.r.mnHalf;
    taken->rho[i] = c.r.rho;
    taken->branch[i] = c.r.branch;
  }

  result.branchColumn = fieldsPerReading == 4;
  result.readingCount = taken->count;
  if (taken->count == 0) {
    result.code = -1;
    return result;
  }
  for (int i = 0; i < taken->count; ++i) {
    s.readingAbHalf[i] = taken->abHalf[i];
    s.readingMnHalf[i] = taken->mnHalf[i];
    s.readingRho[i] = taken->rho[i];
    s.readingBranch[i] = taken->branch[i];
    s.readingS[i] = 0;
    // A spreadsheet carries no polarisation: nothing of an earlier IP
    // sounding may stay attached to these readings.
    s.readingIpReference[i] = 0;
    s.decaySampleCount[i] = 0;
    for (int w = 0; w < MaxIpWindows; ++w) s.ipValue[i][w] = 0;
  }
  s.readingCount = taken->count;
  result.code = 1;
  return result;
}

TableReadResult readTableFile(CurveWindowState& s, const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return {};
  std::string bytes;
  char buf[65536];
  std::size_t n;
  while (bytes.size() < TableFileLimit && (n = std::fread(buf, 1, sizeof buf, f)) > 0)
    bytes.append(buf, n);
  std::fclose(f);
  return parseTableReadings(s, bytes);
}

std::string tableNoticeText(const TableReadResult& read) {
  std::string text;
  auto add = [&text](const std::string& line) {
    if (!text.empty()) text += "\n";
    text += line;
  };
  const int bad = static_cast<int>(read.badLines.size());
  for (int i = 0; i < bad && i < ListedBadLines; ++i)
    add(cformat("řádek %i: ", read.badLines[i].line) + read.badLines[i].text);
  if (bad > ListedBadLines) add(cformat("další vynechané řádky: %i", bad - ListedBadLines));
  if (read.readingsBeyondCapacity > 0)
    add(
        cformat("Soubor obsahuje víc měření, než lze načíst (nejvýše %i); nenačteno zbylých %i "
                "měření.",
                MaxReadings, read.readingsBeyondCapacity));
  return text;
}

bool hasTableExtension(std::string_view path) {
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return false;
  std::string ext(path.substr(dot + 1));
  for (char& ch : ext) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return ext == "csv" || ext == "txt";
}

}  // namespace orv
