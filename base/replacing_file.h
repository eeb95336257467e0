// Files that are written over (the settings files, the default colour
// scale) replace the old file only once the new one is whole: the bytes go
// to a temporary file beside it, which is then renamed over the old one. A
// crash or a full disk halfway keeps the old file as it was.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orv {

// The temporary's name: the file's own name with ".tmp" appended, in the
// same folder, so that the rename never crosses file systems.
std::string replacingTemporaryName(const std::string& path);

class ReplacingFile {
 public:
  explicit ReplacingFile(std::string path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // The temporary, open for writing in binary mode; nullptr when it could not
  // be created.
  std::FILE* file() const { return file_; }
  // Flushes the temporary to the disk and renames it over the file; false
  // (the temporary removed, the old file untouched) when any step failed.
  bool commit();

 private:
  std::string path_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
};

// The whole of bytes as the new content of path.
bool replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace orv
