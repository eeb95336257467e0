// The text of an instrument file as its readers see it: lines read into a
// fixed 300-byte buffer, and numbers read as a stream across line breaks, as
// the C library's line and formatted input do on one file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orv {

// The readers' line buffer: lines longer than 299 characters are cut.
inline constexpr int InstrumentLineBuffer = 300;
using InstrumentLine = char[InstrumentLineBuffer];

class InstrumentText {
 public:
  // Reads the whole file at path; ok() tells whether it could be opened.
  explicit InstrumentText(const char* path);

  bool ok() const { return ok_; }

  // The next line, CR LF or LF cut off, into buf. The rest of a line that does
  // not fit is passed over: its tail never passes for a line of its own.
  // Returns false at the end of the file.
  bool nextLine(InstrumentLine& buf);
  // Passes over what is left of the current line, line break included.
  void skipRestOfLine();
  // Whether the rest of the file holds a line starting with c.
  bool anyLineStartsWith(char c) const;

  // "%i": an integer after blanks and line breaks, with the C library's
  // prefixes (0x hexadecimal, 0 octal). Fails without moving on what does
  // not convert or does not fit 32 bits.
  bool readInt(int32_t& v);
  // "%f": a real after blanks and line breaks. Values that are not finite
  // numbers are refused: nothing downstream can hold them.
  bool readFloat(float& v);

  // Position in the file, for reading a part of it again.
  std::size_t position() const { return pos_; }
  void seek(std::size_t pos) { pos_ = pos < bytes_.size() ? pos : bytes_.size(); }

 private:
  void skipBlanks();

  std::string bytes_;
  std::size_t pos_ = 0;
  bool ok_ = false;
};

// Whether line holds text at position pos (the line may be shorter).
bool textAt(const char* line, std::size_t pos, const char* text);

}  // namespace orv
