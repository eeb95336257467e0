// The program's own application object for the whole suite, offscreen.
#include <gtest/gtest.h>

#include <memory>

#include "app/orv_application.h"

namespace {

class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<OrvApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[24] = "orv_shell_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<OrvApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace
