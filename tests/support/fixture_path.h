// Fixtures live in tests/fixtures of this repository. A test that cannot find
// its fixture says which file is missing instead of running on without it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orv_test {

inline std::string fixturePath(const std::string& name) {
  return std::string(ORV_FIXTURES_DIR) + "/" + name;
}

inline ::testing::AssertionResult fixturePresent(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "missing test fixture: " << path;
}

}  // namespace orv_test
