#include "fuzz/fuzz_file.h"

#include <unistd.h>

#include <cstdio>

std::string writeFuzzInput(const uint8_t* data, std::size_t size, const char* extension) {
  std::string path = "/tmp/orv_fuzz_" + std::to_string(static_cast<long>(getpid())) + extension;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}
