// The capacities of the section layers reached and passed through the
// commands of the section window: 199 HBV lines, 500 colour entries (by the
// editor and from a file) and 420 terrain breaks.
#include <functional>
#include <string>
#include <vector>

#include "base/c_format.h"
#include "commands/section/boundary_line_commands.h"
#include "commands/section/colour_scale_commands.h"
#include "commands/section/terrain_import_command.h"
#include "core/section/terrain_import.h"
#include "tests/commands/curve/kmt_test_support.h"
#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string LinesFull = TooManyHbvLines;
const std::string ScaleFull = "Barevná škála je plná - nejvýše 498 barev.";
const std::string FirstInterval = "Zadej barvu pro interval nad 0 ohm.m ";
const std::string EditingEnds = "konec hrani s barvickama barvu";
const std::string FileCapped =
    "Soubor barevné škály má víc barev, než lze načíst (nejvýše 499); zbytek souboru nebyl "
    "načten.";

struct Layers : SectionTest {
  Layers() {
    givePoints(3);
    setText(view.colourScale.colResFileName, "sentinel.rsc");
    profile(0).HBV_pocetBodu[MaxHbvLines - 1] = -55;
    profile(0).terrainBreakCount = -1;
  }
  void TestBody() override {}
  using SectionTest::dialogs;
  using SectionTest::profile;
  using SectionTest::session;
  using SectionTest::view;

  void giveLines(int n) {
    profile(0).HBV_pocet = n;
    for (int i = 0; i < n; ++i) profile(0).HBV_pocetBodu[i] = 2;
  }
};

std::string terrainFile(int count, int given) {
  std::string t = cformat("pf1 %d\r\n", count);
  for (int k = 0; k < given; ++k) t += cformat("%d %d.5\r\n", 10 * k, 300 + k % 7);
  return t;
}

std::string colourFile(int count) {
  std::string t = cformat("název_souboru: x.rsc\r\nmxpocet_bodu_barev: %d", count);
  for (int k = 0; k <= count + 1; ++k) t += cformat("\r\n%d %d ", 10 * k, k);
  return t;
}

struct Row {
  const char* name;
  std::function<void(Layers&, const ScratchFolder&)> run;
  std::function<int(Layers&)> count;
  int expected;
  Strings messages;
};

TEST(SectionLayerCapacities, LinesColoursAndTerrainBreaksThroughTheirCommands) {
  ScratchFolder dir("layer_caps");
  auto lines = [](Layers& t) { return t.profile(0).HBV_pocet; };
  auto colours = [](Layers& t) { return t.view.colourScale.colResCount; };
  auto breaks = [](Layers& t) { return t.profile(0).terrainBreakCount + 1; };
  auto editColours = [](int chosen) {
    return [chosen](Layers& t, const ScratchFolder&) {
      for (int c = 0; c < chosen; ++c) t.dialogs.answerColour(c);
      for (int c = 2; c < MaxColourEntries + 5; ++c) t.dialogs.answer(cformat("%d", 10 * c));
      t.dialogs.cancelColour();
      editColourScale(t.session);
    };
  };
  auto loadColours = [](int count) {
    return [count](Layers& t, const ScratchFolder& d) {
      t.dialogs.answer(d.write("scale.rsc", colourFile(count)));
      loadColourScaleWithDialog(t.session);
    };
  };
  auto importBreaks = [](int count, int given) {
    return [count, given](Layers& t, const ScratchFolder& d) {
      t.dialogs.answer(d.write("lomy.txt", terrainFile(count, given)));
      importTerrainHeights(t.session);
    };
  };
  auto toldBreaks = [](int count) {
    return "nadpis souboru lomů terénu: pf1 počet lomů terénu je " + cformat("%d", count);
  };
  const Row rows[] = {
      {"define mode on at 198 lines",
       [](Layers& t, const ScratchFolder&) {
         t.giveLines(MaxHbvLines - 2);
         toggleDefineLayersMode(t.session);
       },
       lines,
       MaxHbvLines - 1,
       {}},
      {"define mode on at 199 lines",
       [](Layers& t, const ScratchFolder&) {
         t.giveLines(MaxHbvLines - 1);
         toggleDefineLayersMode(t.session);
       },
       lines,
       MaxHbvLines - 1,
       {LinesFull}},
      {"double clicks from 198 lines",
       [](Layers& t, const ScratchFolder&) {
         t.giveLines(MaxHbvLines - 2);
         for (int c = 0; c < 3; ++c) defineModeDoubleClick(t.session);
       },
       lines,
       MaxHbvLines - 1,
       {LinesFull, LinesFull}},
      {"editor one pass short",
       editColours(MaxColourEntries - 3),
       colours,
       MaxColourEntries - 2,
       {FirstInterval, EditingEnds}},
      {"editor to the last entry",
       editColours(MaxColourEntries - 2),
       colours,
       MaxColourEntries - 1,
       {FirstInterval, ScaleFull}},
      {"editor offered more",
       editColours(MaxColourEntries + 3),
       colours,
       MaxColourEntries - 1,
       {FirstInterval, ScaleFull}},
      {"file of 499 colours", loadColours(MaxColourEntries - 1), colours, MaxColourEntries - 1, {}},
      {"file of 500 colours",
       loadColours(MaxColourEntries),
       colours,
       MaxColourEntries - 1,
       {FileCapped}},
      {"file of a huge count", loadColours(100000), colours, MaxColourEntries - 1, {FileCapped}},
      {"420 terrain breaks",
       importBreaks(MaxPointsPerProfile, MaxPointsPerProfile),
       breaks,
       MaxPointsPerProfile,
       {toldBreaks(MaxPointsPerProfile)}},
      {"421 terrain breaks",
       importBreaks(MaxPointsPerProfile + 1, MaxPointsPerProfile + 1),
       breaks,
       0,
       {toldBreaks(MaxPointsPerProfile + 1), "Příliš mnoho lomů terénu"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Layers t;
    r.run(t, dir);
    EXPECT_EQ(r.count(t), r.expected);
    EXPECT_EQ(t.dialogs.messages(), r.messages);
    // The slot kept free for the colouring's surface line, and what follows
    // the colour table and the terrain breaks.
    EXPECT_EQ(t.profile(0).HBV_pocetBodu[MaxHbvLines - 1], -55);
    if (std::string(r.name).rfind("editor", 0) == 0) {
      // The table ends inside its arrays; the name after them is as it was.
      const ColourScale& scale = t.view.colourScale;
      EXPECT_EQ(scale.colResColor[scale.colResCount], 0xFFFFFF);
      EXPECT_EQ(scale.colResColor[scale.colResCount - 1], scale.colResCount - 2);
      EXPECT_EQ(textOf(scale.colResFileName), "sentinel.rsc");
    }
    if (r.count(t) == MaxPointsPerProfile) {
      EXPECT_EQ(t.profile(0).terrainBreakChainage[MaxPointsPerProfile - 1], 4190.0f);
      EXPECT_EQ(t.profile(0).terrainBreakElevation[0], 300.5f);
    }
  }
}

}  // namespace
}  // namespace orv::testing
