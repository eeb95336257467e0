// The readers take a path: each input is written to a scratch file first,
// which goes again when the input has been read, so a long run leaves
// nothing behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInputFile {
 public:
  FuzzInputFile(const uint8_t* data, std::size_t size, const char* extension);
  ~FuzzInputFile();
  FuzzInputFile(const FuzzInputFile&) = delete;
  FuzzInputFile& operator=(const FuzzInputFile&) = delete;

  const std::string& path() const { return path_; }
  const char* c_str() const { return path_.c_str(); }

 private:
  std::string path_;
};
