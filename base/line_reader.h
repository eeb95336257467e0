// Reads a text file line by line into a fixed buffer, as the C library's
// fgets does on a file opened in text mode on the instruments' platform:
// CR LF becomes LF, a line longer than the buffer is delivered in pieces, and
// the last line needs no line break.
#pragma once

#include <cstddef>
#include <cstdio>

namespace orv {

class LineReader {
 public:
  // Opens path for reading; ok() tells whether that worked.
  explicit LineReader(const char* path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool ok() const { return f_ != nullptr; }

  // Fills buf with at most bufSize - 1 characters of the next line, the line
  // feed included when it fits, and a terminating NUL. Returns false at the
  // end of the file when nothing was read.
  bool next(char* buf, std::size_t bufSize);

  // Rewinds to the first byte.
  void rewind();

 private:
  int get();
  std::FILE* f_;
  int pushed_ = -1;
};

}  // namespace orv
