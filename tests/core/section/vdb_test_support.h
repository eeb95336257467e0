// Files of the database tests: a scratch folder of each test case (CTest
// runs the cases in parallel processes), whole-file bytes and saving a
// database with the program's writer.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/cp1250.h"
#include "core/section/vdb_file.h"

namespace orv::testing {

// A folder of the running test case, removed with its files when the case
// ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(t->test_suite_name()) + "_" + t->name();
    for (char& c : name)
      if (c == '/') c = '_';
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("orv_vdb_" + std::to_string(getpid()) + "_" + name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // With a trailing separator, ready for a file name.
  std::string path() const { return dir_.string() + "/"; }

 private:
  std::filesystem::path dir_;
};

inline std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream b;
  b << in.rdbuf();
  return b.str();
}

inline void putBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline bool saveTo(const SectionDatabase& db, const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = writeVdb(db, f);
  return std::fclose(f) == 0 && ok;
}

// Records given as UTF-8 lines, as the file holds them.
inline std::string vdbRecords(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& l : lines) {
    if (!out.empty() || &l != lines.begin()) out += "\r\n";
    out += utf8ToCp1250(l);
  }
  return out;
}

}  // namespace orv::testing
