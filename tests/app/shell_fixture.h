// A fresh start-up folder per test: the program reads and writes its settings
// in the folder that is current when it starts.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/fixture_path.h"
#include "ui/scripted_dialogs.h"

class StartFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::path(::testing::TempDir()) /
              (std::string("orv_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  std::string fileBytes(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool fileExists(const std::string& name) const { return std::filesystem::exists(folder_ / name); }

  std::filesystem::path folder_;
  std::filesystem::path previous_;
  ui::ScriptedDialogs dialogs_;
};
