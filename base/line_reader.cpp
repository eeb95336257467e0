#include "base/line_reader.h"

namespace orv {

LineReader::LineReader(const char* path) : f_(std::fopen(path, "rb")) {}

LineReader::~LineReader() {
  if (f_) std::fclose(f_);
}

void LineReader::rewind() {
  if (f_) std::rewind(f_);
  pushed_ = -1;
}

int LineReader::get() {
  if (pushed_ >= 0) {
    int c = pushed_;
    pushed_ = -1;
    return c;
  }
  int c = std::fgetc(f_);
  if (c == '\r') {
    int d = std::fgetc(f_);
    if (d == '\n') return '\n';
    if (d != EOF) pushed_ = d;
  }
  return c;
}

bool LineReader::next(char* buf, std::size_t bufSize) {
  if (!f_ || bufSize == 0) return false;
  std::size_t n = 0;
  bool any = false;
  while (n + 1 < bufSize) {
    int c = get();
    if (c == EOF) break;
    any = true;
    buf[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buf[n] = '\0';
  return any;
}

}  // namespace orv
