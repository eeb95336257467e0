// The three files the program writes over keep their old content when the
// new one cannot be written whole, and take the new one when it can.
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "base/replacing_file.h"
#include "commands/section/colour_scale_commands.h"
#include "core/curve/settings_file.h"
#include "core/section/dxf_settings.h"
#include "tests/commands/section/section_test_support.h"
#include "tests/core/section/vdb_test_support.h"

namespace orv::testing {
namespace {

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class ReplacingWritesTest : public SectionTest {
 protected:
  ReplacingWritesTest() {
    setText(curve().StartFolder, dir.substr(0, dir.size() - 1));
    dxf.iniFileName = dir + "orv.ini";
    view.colourScale.colResCount = 1;
  }
  struct Target {
    std::string name;
    std::function<void()> write;
  };
  std::vector<Target> targets() {
    return {{"orvwin.ini", [this] { writeSettings(curve(), dialogs); }},
            {"orv.ini", [this] { writeDxfSettings(dxf, dialogs); }},
            {"orvcolres.rsc", [this] { saveColourScaleToDefault(session); }}};
  }

  ScratchFolder scratch;
  std::string dir = scratch.path();
  DxfSettings dxf;
  SectionSession session{*dbBlock, view, dialogs, link, [] {}, {}};
};

TEST_F(ReplacingWritesTest, AFailedWriteKeepsTheOldFileAndASoundOneReplacesIt) {
  for (const Target& t : targets()) {
    SCOPED_TRACE(t.name);
    const std::string path = dir + t.name;
    writeFile(path, "old content");
    // The temporary cannot be created: a folder stands in its place.
    std::filesystem::create_directory(replacingTemporaryName(path));
    dialogs.clearRecords();
    t.write();
    EXPECT_EQ("old content", fileBytes(path));
    EXPECT_EQ(1u, dialogs.messages().size());
    std::filesystem::remove(replacingTemporaryName(path));
    dialogs.clearRecords();
    t.write();
    EXPECT_NE("old content", fileBytes(path));
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_FALSE(std::filesystem::exists(replacingTemporaryName(path))) << "no temporary is left";
  }
}

TEST_F(ReplacingWritesTest, AFullDiskLeavesNoTemporaryBehind) {
  // /dev/full takes the open but fails every write.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::string path = dir + "linked.ini";
  writeFile(path, "old");
  std::filesystem::create_symlink("/dev/full", replacingTemporaryName(path));
  EXPECT_FALSE(replaceFileContents(path, std::string(1 << 16, 'x')));
  EXPECT_EQ("old", fileBytes(path));
  EXPECT_FALSE(std::filesystem::is_symlink(replacingTemporaryName(path)));
}

}  // namespace
}  // namespace orv::testing
