#include "base/replacing_file.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

namespace orv {

std::string replacingTemporaryName(const std::string& path) {
  return path + ".tmp";
}

ReplacingFile::ReplacingFile(std::string path)
    : path_(std::move(path)), temporary_(replacingTemporaryName(path_)) {
  file_ = std::fopen(temporary_.c_str(), "wb");
}

ReplacingFile::~ReplacingFile() {
  if (!file_) return;
  std::fclose(file_);
  std::remove(temporary_.c_str());
}

bool ReplacingFile::commit() {
  if (!file_) return false;
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_) && fsync(fileno(file_)) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok && std::rename(temporary_.c_str(), path_.c_str()) == 0) return true;
  std::remove(temporary_.c_str());
  return false;
}

bool replaceFileContents(const std::string& path, std::string_view bytes) {
  ReplacingFile out(path);
  if (!out.file()) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out.file()) != bytes.size()) return false;
  return out.commit();
}

}  // namespace orv
