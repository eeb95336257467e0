#include "fuzz/support/fuzz_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// TMPDIR when set, so that a run can keep its scratch files off a shared /tmp.
std::string scratchFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

}  // namespace

FuzzInputFile::FuzzInputFile(const uint8_t* data, std::size_t size, const char* extension)
    : path_(scratchFolder() + "/orv_fuzz_" + std::to_string(static_cast<long>(getpid())) +
            extension) {
  std::FILE* f = std::fopen(path_.c_str(), "wb");
  // A target that cannot write its input would fuzz nothing: stop loudly.
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  if (std::fclose(f) != 0) std::abort();
}

FuzzInputFile::~FuzzInputFile() {
  std::remove(path_.c_str());
}
