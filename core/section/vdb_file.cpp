#include "core/section/vdb_file.h"

#include <locale.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/cp1250.h"
#include "base/fixed_text.h"

namespace orv {
namespace {

// --- records -------------------------------------------------------------------

// The keys as the file holds them: Windows-1250 bytes, each with the CR LF
// that separates its record from the one before (all but the first).
struct Keys {
  std::string fileName = k("název_souboru: ");
  std::string localityCount = k("\r\nmxindex_lokalit: ");
  std::string locality = k("\r\nnázev_lokality: ");
  std::string country = k("\r\njméno_země: ");
  std::string region = k("\r\njméno_kraje: ");
  std::string lastProfile = k("\r\nmxindex_profilu: ");
  std::string profileName = k("\r\nnázev_profilu: ");
  std::string lastPoint = k("\r\nmxindex_bodu: ");
  std::string ipWindows = k("\r\nnum_IPoken: ");
  std::string ipSpan = k("\r\nspan_IPoken: ");
  std::string ipDelay = k("\r\nzpozdeni_IPoken: ");
  std::string onTime = k("\r\nOnTime: ");
  std::string offTime = k("\r\nOffTime: ");
  std::string leadTime = k("\r\nLeadTime: ");
  std::string tailTime = k("\r\nTailTime: ");
  std::string windowHeader = k("\r\noknaVP: Od Do TimestreduOkna");
  std::string pointName = k("\r\nnázev_bodu_VES: ");
  std::string date = k("\r\ndatum_měření_bodu: ");
  std::string operatorName = k("\r\noperátor_bodu: ");
  std::string note = k("\r\npoznámka_k_bodu: ");
  std::string surfaceChainage = k("\r\nmetráž_dle_terénu: ");
  std::string x = k(" X: ");
  std::string y = k(" Y: ");
  std::string z = k(" Z: ");
  std::string profileChainage = k(" metráž_bodu_na_pf: ");
  std::string fitError = k("\r\nchyba_SSQ_bodu_VES: ");
  std::string abMax = k("\r\nABmx: ");
  std::string mnMax = k(" MNmx: ");
  std::string lastLayer = k(" MDLmx: ");
  std::string readings = k(" Mermx: ");
  std::string abMin = k(" nABmn: ");
  std::string readingHeader =
      k("\r\n  AO  MO  Rmer  iMN  Rsnesená VPokno1 VPokno2 VPokno3 až VPokno20");
  std::string modelHeader = k("\r\n Rmodelu  Dmodeluminusjefix");
  std::string hbvLines = k("\r\n HBV_pocet: ");
  std::string hbvVertices = k("\r\n HBV_pocetBodu: ");
  std::string hbvHeader = k("\r\n HBV_ihbv HBV_ibod HBV_x HBV_z");
  std::string scaleX = k("\r\n__měřítko_X_pro_pf: ");
  std::string scaleZ = k("\r\n__měřítko_Y_pro_pf: ");

  static std::string k(std::string_view utf8) { return utf8ToCp1250(utf8); }
};

const Keys& keys() {
  static const Keys instance;
  return instance;
}

int clampTo(int v, int lo, int hi) {
  return std::min(std::max(v, lo), hi);
}

// Window count as it is kept: at most twenty, any negative value the mark of
// a profile without IP information.
int32_t keptWindowCount(int32_t v) {
  if (v > MaxIpWindows) return MaxIpWindows;
  return v < 0 ? NoIpInformation : v;
}

// Vertex count as it is kept: at most the capacity; a line just opened keeps
// its mark, any other negative count is no vertex.
int32_t keptVertexCount(int32_t v) {
  if (v > MaxHbvVertices) return MaxHbvVertices;
  if (v < 0) return v == HbvLineJustOpened ? HbvLineJustOpened : 0;
  return v;
}

// --- writing -------------------------------------------------------------------

// The records go out in pieces of about this size, so that even a full
// database never stands in memory as one text.
constexpr std::size_t WriteChunk = 1 << 20;

class RecordWriter {
 public:
  explicit RecordWriter(std::FILE* f) : f_(f) { buf_.reserve(WriteChunk + 4096); }

  void raw(const std::string& s) { buf_ += s; }
  void text(const std::string& key, std::string_view value) {
    buf_ += key;
    // A line break inside a value would split its record in two and shift
    // every record after it.
    for (char c : value) buf_ += c == '\n' || c == '\r' ? ' ' : c;
  }
  // "%i" / "%d"
  void integer(int32_t v) {
    char b[16];
    buf_.append(b, std::to_chars(b, b + sizeof b, v).ptr);
  }
  // "%f" of a float (promoted to double, as printf takes it): six decimals,
  // correctly rounded, a point as separator, whatever the locale.
  void real(float v) {
    char b[64];
    buf_.append(
        b, std::to_chars(b, b + sizeof b, static_cast<double>(v), std::chars_format::fixed, 6).ptr);
  }
  void blankReal(float v) {
    buf_ += ' ';
    real(v);
  }
  // Called between records: hands a full piece to the file.
  void recordDone() {
    if (buf_.size() >= WriteChunk) flush();
  }
  bool finish() {
    flush();
    return ok_ && std::fflush(f_) == 0 && !std::ferror(f_);
  }

 private:
  void flush() {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) ok_ = false;
    buf_.clear();
  }
  std::FILE* f_;
  std::string buf_;
  bool ok_ = true;
};

void writePoint(RecordWriter& w, const SectionPoint& pt, int windows) {
  const Keys& key = keys();
  w.text(key.pointName, textOf(pt.pointName));
  w.text(key.date, textOf(pt.measureDate));
  w.text(key.operatorName, textOf(pt.operatorName));
  w.text(key.note, textOf(pt.pointNote));
  w.raw(key.surfaceChainage);
  w.real(pt.surfaceChainage);
  w.raw(key.x);
  w.real(pt.pointX);
  w.raw(key.y);
  w.real(pt.pointY);
  w.raw(key.z);
  w.real(pt.pointZ);
  w.raw(key.profileChainage);
  w.real(pt.profileChainage);
  w.raw(key.fitError);
  w.real(pt.fitError);

  const int readings = clampTo(pt.Mermx, 0, MaxReadings);
  const int lastLayer = clampTo(pt.MDLmx, 0, MaxLayers - 1);
  w.raw(key.abMax);
  w.integer(pt.ABmx);
  w.raw(key.mnMax);
  w.integer(pt.MNmx);
  w.raw(key.lastLayer);
  w.integer(lastLayer);
  w.raw(key.readings);
  w.integer(readings);
  w.raw(key.abMin);
  w.integer(pt.nABmn);
  w.raw(key.readingHeader);
  for (int m = 0; m < readings; ++m) {
    w.raw("\r\n  ");
    w.real(pt.AO[m]);
    w.blankReal(pt.MO[m]);
    w.blankReal(pt.Rmer[m]);
    w.raw(" ");
    w.integer(pt.iMN[m]);
    // The composite curve travels in the reading rows, shifted by the first
    // cell of the grid.
    const long cell = static_cast<long>(pt.nABmn) + m;
    const bool carried = m <= pt.ABmx && cell >= 0 && cell < GridCells;
    w.blankReal(carried ? pt.compositeRho[cell] : 0.0f);
    for (int k = 0; k < MaxIpWindows; ++k) w.blankReal(k < windows ? pt.ipValue[m][k] : 0.0f);
    w.recordDone();
  }
  w.raw(key.modelHeader);
  for (int i = 0; i <= lastLayer; ++i) {
    w.raw("\r\n  ");
    w.real(pt.layerRho[i]);
    w.blankReal(pt.layerDepth[i]);
  }
  w.recordDone();
}

void writeProfile(RecordWriter& w, const SectionProfile& pf) {
  const Keys& key = keys();
  const int lastPoint = clampTo(pf.mxindex_bodu, -1, MaxPointsPerProfile - 1);
  const int32_t windowCount = keptWindowCount(pf.num_IPoken);
  const int windows = std::max(0, static_cast<int>(windowCount));
  w.text(key.profileName, textOf(pf.profileName));
  w.raw(key.lastPoint);
  w.integer(lastPoint);
  w.raw(key.ipWindows);
  w.integer(windowCount);
  const std::pair<const std::string*, int32_t> timing[] = {
      {&key.ipSpan, pf.span_IPoken}, {&key.ipDelay, pf.zpozdeni_IPoken},
      {&key.onTime, pf.OnTime},      {&key.offTime, pf.OffTime},
      {&key.leadTime, pf.LeadTime},  {&key.tailTime, pf.TailTime}};
  for (const auto& [k, v] : timing) {
    w.raw(*k);
    w.integer(v);
  }
  w.raw(key.windowHeader);
  for (int k = 0; k < windows; ++k) {
    w.raw("\r\n");
    w.integer(pf.ipWindowFrom[k]);
    w.raw(" ");
    w.integer(pf.ipWindowTo[k]);
    w.raw(" ");
    w.integer(pf.ipWindowMid[k]);
  }
  for (int b = 0; b <= lastPoint; ++b) writePoint(w, pf.points[b], windows);

  const int lines = clampTo(pf.HBV_pocet, 0, MaxHbvLines);
  w.raw(key.hbvLines);
  w.integer(lines);
  for (int l = 0; l < lines; ++l) {
    const int32_t vertexCount = keptVertexCount(pf.HBV_pocetBodu[l]);
    w.raw(key.hbvVertices);
    w.integer(vertexCount);
    w.raw(key.hbvHeader);
    for (int v = 0; v < vertexCount; ++v) {
      w.raw("\r\n  ");
      w.integer(l);
      w.raw(" ");
      w.integer(v);
      w.blankReal(pf.HBV_x[l][v]);
      w.blankReal(pf.HBV_z[l][v]);
    }
    w.recordDone();
  }
  w.raw(key.scaleX);
  w.real(pf.scaleX);
  w.raw(key.scaleZ);
  w.real(pf.scaleZ);
  w.recordDone();
}

// --- reading -------------------------------------------------------------------

locale_t cLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// Lines of the file as a text-mode read gives them on the platform the files
// come from (CR LF is one line end), read in large pieces. A line longer than
// the buffer is cut and its rest skipped, so that the tail never passes for a
// record of its own.
class LineSource {
 public:
  explicit LineSource(std::FILE* f) : f_(f) {}

  bool next(char (&line)[VdbLineBuffer], std::size_t& size) {
    std::size_t n = 0;
    bool any = false;
    bool cut = false;
    bool ended = false;
    while (!ended) {
      if (pos_ == len_ && !refill()) break;
      const char* start = chunk_ + pos_;
      const std::size_t avail = len_ - pos_;
      const void* nl = std::memchr(start, '\n', avail);
      const std::size_t piece =
          nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : avail;
      any = true;
      const std::size_t room = VdbLineBuffer - 1 - n;
      const std::size_t copy = std::min(piece, room);
      if (copy < piece) cut = true;
      std::memcpy(line + n, start, copy);
      n += copy;
      pos_ += piece;
      if (nl) {
        ++pos_;
        ended = true;
      }
    }
    if (!any) return false;
    if (ended && !cut && n > 0 && line[n - 1] == '\r') --n;
    line[n] = '\0';
    size = n;
    unterminated_ = !ended;
    return true;
  }
  // The line last returned ended with the file, without a line break.
  bool unterminated() const { return unterminated_; }

 private:
  bool refill() {
    len_ = std::fread(chunk_, 1, sizeof chunk_, f_);
    pos_ = 0;
    return len_ > 0;
  }
  std::FILE* f_;
  char chunk_[1 << 16];
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool unterminated_ = false;
};

// The reader's one line of look-ahead.
class VdbLines {
 public:
  explicit VdbLines(std::FILE* f) : src_(f) {}
  // The next unconsumed line: the pending one, else a new one from the file.
  // False at the end of the file.
  bool take() {
    if (pending_) {
      pending_ = false;
      return true;
    }
    return src_.next(line_, size_);
  }
  // The line just taken stays the next unconsumed one.
  void keep() { pending_ = true; }
  // The line taken is the file's last and has no line break after it. The
  // writer ends every file so, but a file cut short ends so too: in the
  // middle of any record.
  bool endsFile() const { return src_.unterminated(); }
  const char* text() const { return line_; }
  std::string_view view() const { return std::string_view(line_, size_); }
  // The value of a text record: the rest of the line after the key and its
  // blank.
  std::string_view textValue() const {
    const std::string_view v = view();
    const std::size_t blank = v.find(' ');
    return blank == std::string_view::npos ? std::string_view() : v.substr(blank + 1);
  }

 private:
  LineSource src_;
  char line_[VdbLineBuffer];
  std::size_t size_ = 0;
  bool pending_ = false;
};

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The fields of one line as sscanf walks them with "%*s", "%i" and "%f": once
// a conversion fails, every later one fails too. A field is written only
// when its number converted; numbers that are not finite are passed over
// without being stored, since nothing downstream can draw or compute with
// them.
class Fields {
 public:
  explicit Fields(const char* line) : p_(line), end_(line + std::strlen(line)) {}

  // "%*s": one word, usually a key.
  void word() {
    if (failed_) return;
    skipSpace();
    if (*p_ == '\0') {
      failed_ = true;
      return;
    }
    while (*p_ != '\0' && !isSpace(*p_)) ++p_;
  }

  void integer(int32_t& v) {
    if (failed_) return;
    char* end = nullptr;
    const long x = strtol_l(p_, &end, 0, cLocale());
    if (end == p_) {
      failed_ = true;
      return;
    }
    p_ = end;
    v = static_cast<int32_t>(std::clamp<long>(x, INT32_MIN, INT32_MAX));
  }

  void real(float& v) {
    if (failed_) return;
    skipSpace();
    const char* const start = p_;
    const char* s = p_;
    if (*s == '+' && s[1] != '-' && s[1] != '+') ++s;
    float x = 0.0f;
    const std::from_chars_result r = std::from_chars(s, end_, x);
    const bool hex = s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    if (r.ec == std::errc() && !hex) {
      p_ = r.ptr;
    } else {
      // Hexadecimal figures and figures out of range take the C library's
      // own road.
      char* end = nullptr;
      x = strtof_l(p_, &end, cLocale());
      if (end == p_) {
        failed_ = true;
        return;
      }
      p_ = end;
    }
    lastDecimals_ = decimalsIn(start, p_);
    if (std::isfinite(x)) v = x;
  }

  // Every field asked for converted.
  bool converted() const { return !failed_; }
  // ... and the last real has the six decimals "%f" writes, so that a figure
  // cut at the end of the file is not taken for a whole one.
  bool convertedWhole() const { return !failed_ && lastDecimals_ >= 6; }

 private:
  void skipSpace() {
    while (isSpace(*p_)) ++p_;
  }
  static int decimalsIn(const char* from, const char* to) {
    const char* point = std::find(from, to, '.');
    if (point == to) return 0;
    const char* digit = point + 1;
    while (digit < to && *digit >= '0' && *digit <= '9') ++digit;
    return static_cast<int>(digit - point - 1);
  }
  const char* p_;
  const char* end_;
  bool failed_ = false;
  int lastDecimals_ = 0;
};

class VdbReader {
 public:
  VdbReader(SectionDatabase& db, std::FILE* f) : db_(db), in_(f) {}

  VdbReadResult read() {
    // Nothing of db is touched before the first record has shown the file to
    // be a database.
    if (!in_.take() || !in_.view().starts_with(firstKey())) return {-1, 0, false};
    const int profiles = readHeader();
    for (int p = 0; p < profiles; ++p) {
      bool reached = false;
      if (!readProfile(db_.profiles[p], reached)) {
        truncated_ = true;
        if (reached)
          db_.mxindex_profilu = p;
        else if (p > 0)
          db_.mxindex_profilu = p - 1;
        else
          setEmptyProfile(db_.profiles[0]), db_.mxindex_profilu = 0;
        break;
      }
    }
    int points = 0;
    for (int p = 0; p <= db_.mxindex_profilu; ++p) points += db_.profiles[p].mxindex_bodu + 1;
    return {1, points, truncated_};
  }

 private:
  // Number of profiles to read; 0 when the file ended in its header.
  int readHeader() {
    // The file's own name (already taken) and the locality count are not
    // used.
    char* const texts[] = {db_.localityName, db_.countryName, db_.regionName};
    int read = 0;
    bool ok = in_.take();
    for (; ok && read < 3; ++read) {
      ok = in_.take();
      if (ok) copyCut(texts[read], sizeof db_.localityName, in_.textValue());
    }
    if (ok) ok = in_.take();
    if (!ok) {
      truncated_ = true;
      for (int t = read; t < 3; ++t) texts[t][0] = '\0';
      db_.mxindex_profilu = 0;
      setEmptyProfile(db_.profiles[0]);
      return 0;
    }
    Fields f(in_.text());
    f.word();
    f.integer(db_.mxindex_profilu);
    db_.mxindex_profilu = clampTo(db_.mxindex_profilu, 0, MaxProfiles - 1);
    return db_.mxindex_profilu + 1;
  }

  static void setNoIp(SectionProfile& pf) {
    pf.num_IPoken = NoIpInformation;
    pf.span_IPoken = pf.zpozdeni_IPoken = 0;
    pf.OnTime = pf.OffTime = pf.LeadTime = pf.TailTime = 0;
  }

  // The key of the first record without its blank: a file that does not
  // begin with it is no database.
  static std::string_view firstKey() {
    const std::string_view key = keys().fileName;
    return key.substr(0, key.size() - 1);
  }

  // A record that may end the file: whole when the file goes on after it, or
  // when its fields all converted (and, with decimals, its last real has all
  // its decimals).
  bool whole(const Fields& f, bool decimals) const {
    if (!in_.endsFile()) return true;
    return decimals ? f.convertedWhole() : f.converted();
  }

  // A profile of which the file holds nothing.
  static void setEmptyProfile(SectionProfile& pf) {
    pf.profileName[0] = '\0';
    pf.mxindex_bodu = -1;
    setNoIp(pf);
    pf.HBV_pocet = 0;
    pf.scaleX = InitialScaleX;
    pf.scaleZ = InitialScaleZ;
  }

  // False when the file ended before the profile's counts were met; reached
  // tells whether its name record was read. Whatever was not read then
  // counts as absent.
  bool readProfile(SectionProfile& pf, bool& reached) {
    if (!in_.take()) return false;
    reached = true;
    setText(pf.profileName, in_.textValue());
    // Until their records have been read, the profile has no point, no IP
    // window, no HBV line and the scales of a fresh database.
    int32_t lastPoint = pf.mxindex_bodu;
    pf.mxindex_bodu = -1;
    pf.HBV_pocet = 0;
    pf.scaleX = InitialScaleX;
    pf.scaleZ = InitialScaleZ;
    if (!in_.take()) {
      setNoIp(pf);
      return false;
    }
    Fields count(in_.text());
    count.word();
    count.integer(lastPoint);
    lastPoint = clampTo(lastPoint, -1, MaxPointsPerProfile - 1);

    if (!readIpBlock(pf)) return false;
    const int windows = std::max(0, static_cast<int>(pf.num_IPoken));
    for (int b = 0; b <= lastPoint; ++b) {
      if (!readPoint(pf.points[b], windows)) return false;
      pf.mxindex_bodu = b;
    }

    // Both closing blocks may be missing in files of older layouts; the end
    // of the file right after the points is then no loss.
    bool have = in_.take();
    bool hbvRead = false;
    if (have && in_.view().size() >= 2 && in_.text()[1] == 'H') {
      if (!readHbvBlock(pf)) return false;
      hbvRead = true;
      have = in_.take();
    }
    if (have && in_.text()[0] == '_') return readScales(pf);
    // The layout that writes boundary lines writes the scales after them: a
    // file that ends between the two was cut.
    if (!have && hbvRead) return false;
    pf.scaleX = OldLayoutScaleX;
    pf.scaleZ = OldLayoutScaleZ;
    if (have) in_.keep();  // the next profile's name record
    return true;
  }

  // The two scale records, the first one being the current line. A scale
  // that does not arrive whole stays as it was.
  bool readScales(SectionProfile& pf) {
    float* const scales[] = {&pf.scaleX, &pf.scaleZ};
    for (int k = 0; k < 2; ++k) {
      if (k > 0 && !in_.take()) return false;
      Fields f(in_.text());
      f.word();
      float value = *scales[k];
      f.real(value);
      if (!whole(f, true)) return false;
      *scales[k] = value;
    }
    return true;
  }

  bool readIpBlock(SectionProfile& pf) {
    if (!in_.take()) {
      setNoIp(pf);
      return true;  // an old file that ends here; the points decide
    }
    if (in_.view().substr(0, 6) != "num_IP") {
      setNoIp(pf);
      in_.keep();  // the first point's name record
      return true;
    }
    Fields f(in_.text());
    f.word();
    f.integer(pf.num_IPoken);
    const int32_t announced = keptWindowCount(pf.num_IPoken);
    pf.num_IPoken = announced < 0 ? announced : 0;
    int32_t* const timing[] = {&pf.span_IPoken, &pf.zpozdeni_IPoken, &pf.OnTime,
                               &pf.OffTime,     &pf.LeadTime,        &pf.TailTime};
    for (int t = 0; t < 6; ++t) {
      if (!in_.take()) {
        for (int u = t; u < 6; ++u) *timing[u] = 0;
        return false;
      }
      Fields v(in_.text());
      v.word();
      v.integer(*timing[t]);
    }
    if (!in_.take()) return false;  // the window header
    for (int k = 0; k < announced; ++k) {
      if (!in_.take()) return false;
      Fields w(in_.text());
      w.integer(pf.ipWindowFrom[k]);
      w.integer(pf.ipWindowTo[k]);
      w.integer(pf.ipWindowMid[k]);
      pf.num_IPoken = k + 1;
    }
    return true;
  }

  bool readPoint(SectionPoint& pt, int windows) {
    char* const texts[] = {pt.pointName, pt.measureDate, pt.operatorName, pt.pointNote};
    const std::size_t sizes[] = {sizeof pt.pointName, sizeof pt.measureDate, sizeof pt.operatorName,
                                 sizeof pt.pointNote};
    for (int t = 0; t < 4; ++t) {
      if (!in_.take()) return false;
      copyCut(texts[t], sizes[t], in_.textValue());
    }
    if (!in_.take()) return false;
    Fields pos(in_.text());
    for (float* v :
         {&pt.surfaceChainage, &pt.pointX, &pt.pointY, &pt.pointZ, &pt.profileChainage}) {
      pos.word();
      pos.real(*v);
    }
    if (!in_.take()) return false;
    Fields fit(in_.text());
    fit.word();
    fit.real(pt.fitError);
    if (!in_.take()) return false;
    Fields counts(in_.text());
    for (int32_t* v : {&pt.ABmx, &pt.MNmx, &pt.MDLmx, &pt.Mermx, &pt.nABmn}) {
      counts.word();
      counts.integer(*v);
    }
    pt.ABmx = clampTo(pt.ABmx, 0, GridCells - 1);
    pt.nABmn = clampTo(pt.nABmn, 0, GridCells - 1);
    pt.Mermx = clampTo(pt.Mermx, 0, MaxReadings);
    pt.MDLmx = clampTo(pt.MDLmx, 0, MaxLayers - 1);
    if (!in_.take()) return false;  // the reading header

    // Cells the rows do not carry hold no value of an earlier database.
    std::fill(std::begin(pt.compositeRho), std::end(pt.compositeRho), 0.0f);
    for (int m = 0; m < pt.Mermx; ++m) {
      if (!in_.take()) return false;
      Fields row(in_.text());
      row.real(pt.AO[m]);
      row.real(pt.MO[m]);
      row.real(pt.Rmer[m]);
      row.integer(pt.iMN[m]);
      const int cell = pt.nABmn + m;
      float unused = 0.0f;
      row.real(cell < GridCells ? pt.compositeRho[cell] : unused);
      for (int k = 0; k < MaxIpWindows; ++k) row.real(pt.ipValue[m][k]);
      // The profile has no such window.
      for (int k = windows; k < MaxIpWindows; ++k) pt.ipValue[m][k] = 0.0f;
    }
    if (!in_.take()) return false;  // the model header
    for (int i = 0; i <= pt.MDLmx; ++i) {
      if (!in_.take()) return false;
      Fields row(in_.text());
      row.real(pt.layerRho[i]);
      row.real(pt.layerDepth[i]);
      if (!whole(row, false)) return false;
    }
    return true;
  }

  bool readHbvBlock(SectionProfile& pf) {
    Fields count(in_.text());
    count.word();
    int32_t announced = 0;
    count.integer(announced);
    const int lines = clampTo(announced, 0, MaxHbvLines);
    for (int l = 0; l < lines; ++l) {
      if (!in_.take()) return false;
      Fields vc(in_.text());
      vc.word();
      vc.integer(pf.HBV_pocetBodu[l]);
      const int32_t wanted = keptVertexCount(pf.HBV_pocetBodu[l]);
      pf.HBV_pocetBodu[l] = wanted < 0 ? wanted : 0;
      pf.HBV_pocet = l + 1;
      if (!in_.take()) return false;  // the vertex header
      for (int v = 0; v < wanted; ++v) {
        if (!in_.take()) return false;
        Fields row(in_.text());
        row.word();
        row.word();
        float x = pf.HBV_x[l][v], z = pf.HBV_z[l][v];
        row.real(x);
        row.real(z);
        if (!whole(row, true)) return false;
        pf.HBV_x[l][v] = x;
        pf.HBV_z[l][v] = z;
        pf.HBV_pocetBodu[l] = v + 1;
      }
    }
    return true;
  }

  SectionDatabase& db_;
  VdbLines in_;
  bool truncated_ = false;
};

}  // namespace

bool writeVdb(const SectionDatabase& db, std::FILE* out) {
  const Keys& key = keys();
  RecordWriter w(out);
  w.text(key.fileName, utf8ToCp1250(textOf(db.fileName)));
  // One locality per database.
  w.raw(key.localityCount);
  w.integer(0);
  w.text(key.locality, textOf(db.localityName));
  w.text(key.country, textOf(db.countryName));
  w.text(key.region, textOf(db.regionName));
  const int lastProfile = clampTo(db.mxindex_profilu, 0, MaxProfiles - 1);
  w.raw(key.lastProfile);
  w.integer(lastProfile);
  for (int p = 0; p <= lastProfile; ++p) writeProfile(w, db.profiles[p]);
  return w.finish();
}

VdbReadResult readVdb(SectionDatabase& db, const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return {0, 0, false};
  // A folder opens like a file on some systems and reads as empty: it would
  // pass for a database without points.
  struct stat st;
  if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return {0, 0, false};
  }
  VdbReadResult r;
  {
    // The reader holds a line buffer and a read buffer: on the heap, not on
    // the caller's stack.
    auto reader = std::make_unique<VdbReader>(db, f);
    r = reader->read();
  }
  std::fclose(f);
  return r;
}

}  // namespace orv
