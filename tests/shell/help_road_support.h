// The roads behind the samples and the help pictures: the repository's
// samples folder, menu items triggered by their object names and the sample
// database as the program made it.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

namespace orv_help {

inline std::filesystem::path samplesFolder() {
  return std::filesystem::path(ORV_FIXTURES_DIR).parent_path().parent_path() / "samples";
}

inline std::string samplePath(const char* name) {
  return (samplesFolder() / name).string();
}

// The sample database of the README and the colour scale that goes with it.
inline constexpr const char* SampleDatabase = "lhota-pf1.vdb";
inline constexpr const char* SampleScale = "lhota-rezistivity.rsc";

// Every record of a scripted dialog, one a line, for a failure's message.
inline std::string lines(const std::vector<std::string>& records) {
  std::string all;
  for (const std::string& r : records) all += r + "\n";
  return all;
}

inline void trigger(QWidget* window, const char* objectName) {
  QAction* a = window->findChild<QAction*>(objectName);
  ASSERT_NE(a, nullptr) << objectName;
  a->trigger();
  QApplication::processEvents();
}

}  // namespace orv_help
