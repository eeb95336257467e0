#include "core/section/dxf_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/cp1250.h"
#include "ui/scripted_dialogs.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class DxfSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("orv_dxf_settings_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void put(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  std::string get(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path dir;
  ui::ScriptedDialogs dialogs;
};

const char* const kDefaultFile =
    "soubor nastavení a inicializačních parametrů programu ORV\r\n"
    "převýšení_exportovaného_řezu_UCM_(float) 5.000000\r\n"
    "velikost_vyššího_textu_UCM_(float) 0.150000\r\n"
    "velikost_nižšího_textu_UCM_(float) 0.100000\r\n"
    "krok_ticu_x_UCM_(int) 5\r\n"
    "krok_popisu_x_UCM_(int) 10\r\n"
    "krok_ticu_z_UCM_(int) 1\r\n"
    "krok_popisu_z_UCM_(int) 2\r\n"
    "šířka_kříže_hloubky_rozhraní_VES_UCM_(float) 2.250000\r\n"
    "výška_kříže_hloubky_rozhraní_VES_UCM_(float) 0.150000\r\n"
    "šířka_šipky_nad_bodem_VES_UCM_(float) 1.000000\r\n"
    "výška_šipky_nad_bodem_VES_UCM_(float) 1.000000\r\n";

TEST_F(DxfSettingsFile, DefaultsAreWrittenInWindows1250WithTheKeysInOrder) {
  EXPECT_EQ(dxfSettingsFileText(DxfSettings{}), utf8ToCp1250(kDefaultFile));
}

TEST_F(DxfSettingsFile, MissingOrUnwritableFileIsSaid) {
  DxfSettings s;
  s.dxfExaggeration = 9.0f;
  s.dxfTickX = 77;
  s.dxfFileName = "posledni.dxf";
  readDxfSettings(s, dir.string(), dialogs);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], "Nenalezen ini soubor! " + (dir / "orv.ini").string() +
                                       "\nBudou načteny implicitní hodnoty");
  EXPECT_EQ(s.dxfExaggeration, 5.0f);
  EXPECT_EQ(s.dxfTickX, 5);
  EXPECT_EQ(s.dxfFileName, "posledni.dxf");
  EXPECT_EQ(s.iniFileName, (dir / "orv.ini").string());

  s.iniFileName = (dir / "chybi" / "orv.ini").string();
  EXPECT_FALSE(writeDxfSettings(s, dialogs));
  EXPECT_EQ(dialogs.messages().back(), "Nemožno ukládat do ini souboru!");
}

TEST_F(DxfSettingsFile, RoundTripIsByteExactAndWritesBackUnderTheFoundSpelling) {
  DxfSettings a;
  a.dxfExaggeration = 2.5f;
  a.dxfTextLarge = 0.3f;
  a.dxfTextSmall = 0.125f;
  a.dxfTickX = 10;
  a.dxfLabelX = 50;
  a.dxfTickZ = 2;
  a.dxfLabelZ = 10;
  a.dxfCrossWidth = 1.1f;
  a.dxfCrossHeight = 0.05f;
  a.dxfArrowWidth = 3.0f;
  a.dxfArrowHeight = 0.75f;
  const std::string text = dxfSettingsFileText(a);
  put("ORV.INI", text);

  DxfSettings b;
  readDxfSettings(b, dir.string(), dialogs);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(b.iniFileName, (dir / "ORV.INI").string());
  EXPECT_EQ(b.dxfCrossHeight, 0.05f);
  EXPECT_EQ(b.dxfLabelX, 50);
  ASSERT_TRUE(writeDxfSettings(b, dialogs));
  EXPECT_EQ(get(dir / "ORV.INI"), text);
  EXPECT_FALSE(fs::exists(dir / "orv.ini"));
}

struct BadFileCase {
  const char* name;
  std::string bytes;
  float exaggeration;
  int32_t tickX;
  float arrowHeight;
};

TEST_F(DxfSettingsFile, DamagedLinesKeepTheirDefaultsAndDoNotShiftTheOthers) {
  const std::string header = "soubor\r\n";
  const BadFileCase cases[] = {
      // The keys are not checked: the order alone assigns the values.
      {"foreign keys", header + "a 7.5\r\nb 1\r\nc 1\r\nd 0x10\r\n", 7.5f, 16, 1.0f},
      {"no number", header + "a x\r\nb 1\r\nc 1\r\nd pet\r\n", 5.0f, 5, 1.0f},
      {"not finite", header + "a inf\r\n", 5.0f, 5, 1.0f},
      {"header only", header, 5.0f, 5, 1.0f},
      {"overlong header", std::string(300, 'h') + "\r\na 3\r\nb 1\r\nc 1\r\nd 8\r\n", 3.0f, 8,
       1.0f},
      {"overlong value line",
       header + "a 4" + std::string(400, ' ') +
           "\r\nb 1\r\nc 1\r\nd 6\r\ne 1\r\nf 1\r\ng 1\r\n"
           "h 1\r\ni 1\r\nj 1\r\nk 0.5",
       4.0f, 6, 0.5f},
  };
  for (const BadFileCase& c : cases) {
    SCOPED_TRACE(c.name);
    put("orv.ini", c.bytes);
    DxfSettings s;
    s.dxfExaggeration = 99.0f;
    s.dxfTickX = 99;
    ASSERT_TRUE(readDxfSettingsFile(s, (dir / "orv.ini").c_str()));
    EXPECT_EQ(s.dxfExaggeration, c.exaggeration);
    EXPECT_EQ(s.dxfTickX, c.tickX);
    EXPECT_EQ(s.dxfArrowHeight, c.arrowHeight);
  }
}

}  // namespace
}  // namespace orv
