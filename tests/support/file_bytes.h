// Whole files as bytes, for tests that compare or damage what a writer made.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace orv_test {

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace orv_test
