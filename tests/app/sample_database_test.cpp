// The interpreted sample in samples/: the program itself files the five
// soundings of lhota-pf1.kmt into a profile with fitted three-layer models,
// draws a boundary line along each interface, edits a colour scale and saves both. The
// committed files are what this road writes (ORV_SAMPLES_OUT=samples
// rewrites them), and they open without a word.
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "app/shell.h"
#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "core/section/colour_scale_file.h"
#include "core/section/section_layout.h"
#include "core/section/vdb_file.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "qt/tvesparametryedit.h"
#include "tests/app/help_road_support.h"
#include "tests/app/shell_fixture.h"
#include "tests/qt/modal_support.h"
#include "tests/support/file_bytes.h"

namespace {

using orv_help::trigger;

// The KMT records by their point number (chainage), with the date of the
// record and the elevation the field book gives them.
struct Sounding {
  float chainage;
  const char* date;
  const char* elevation;
};
const Sounding kSoundings[] = {{0, "2026-04-02", "312.0"},
                               {25, "2026-04-02", "314.5"},
                               {50, "2026-04-02", "316"},
                               {75, "2026-04-03", "314"},
                               {100, "2026-04-03", "311.5"}};
constexpr int kLayers = 3;

// A blue (conductive) to red (resistive) ramp: the upper bound of each
// interval in ohm.m and its colour as #RRGGBB. The editor's first interval
// ends at 0 on an empty scale and is never used.
struct Interval {
  const char* upper;
  unsigned rgb;
};
const Interval kIntervals[] = {
    {nullptr, 0x000060}, {"5", 0x000090},    {"10", 0x0020D0},   {"15", 0x0050FF},
    {"20", 0x0090FF},    {"30", 0x00C8FF},   {"50", 0x00E8C0},   {"75", 0x40F070},
    {"100", 0xA0F040},   {"150", 0xF0F000},  {"200", 0xFFC800},  {"300", 0xFF9000},
    {"500", 0xFF5000},   {"1000", 0xE00000}, {"3000", 0xA00000}, {"10000", 0x700040}};

ui::Colour platformColour(unsigned rgb) {
  return static_cast<ui::Colour>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
}

// Readings per record of the KMT file, counted from its text: the lines that
// start with "r".
std::vector<int> readingsPerRecord(const std::string& kmt) {
  std::vector<int> counts;
  std::istringstream lines(kmt);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("n ")) counts.push_back(0);
    if (line.starts_with("r") && !counts.empty()) ++counts.back();
  }
  return counts;
}

class SampleDatabaseTest : public StartFolderTest {
 protected:
  std::unique_ptr<Shell> startProgram() {
    auto shell = std::make_unique<Shell>(&dialogs_, false);
    shell->curve()->resize(1000, 700);
    shell->curve()->show();
    shell->section()->resize(1000, 700);
    shell->section()->show();
    QApplication::processEvents();
    shell->curve()->state().sectionWindowShown = true;
    dialogs_.clearRecords();
    return shell;
  }

  // "<-" opens the real point dialog; the texts of the field book and the
  // elevation are typed into it and OK pressed.
  static void fileWithPointDialog(Shell& shell, const Sounding& v) {
    orv::testing::whenModalUp([&v](QWidget* w) {
      auto* dialog = qobject_cast<TVESparametryEdit*>(w);
      ASSERT_NE(dialog, nullptr);
      orv_help::typeFieldBook(dialog, {QStringLiteral("Lhota"), QStringLiteral("pf1"),
                                       QStringLiteral("VES %1").arg(static_cast<int>(v.chainage)),
                                       QString::fromUtf8(v.date), QString::fromUtf8(v.elevation)});
      dialog->okButton()->click();
    });
    shell.curve()->transferButton()->click();
  }

  static void send(TSection& section, QEvent::Type type, QPoint at) {
    QMouseEvent e(type, QPointF(at), QPointF(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(section.image(), &e);
    QApplication::processEvents();
  }

  // In the layer-bounds mode one line is clicked along each interface of the
  // soundings, left to right, a double click ending the first; leaving the
  // mode colours the layers.
  void drawBoundaryLines(TSection& section) {
    trigger(&section, "Vymezitvrstvyprovybarvendlerezistivit1");
    const orv::SectionProfile& p = section.database().profiles[0];
    for (int i = 0; i < kLayers - 1; ++i) {
      for (int b = 0; b <= p.mxindex_bodu; ++b) {
        const orv::SectionPoint& pt = p.points[b];
        const orv::SectionLayout& l = section.viewState().layout;
        const QPoint at(orv::chainageToPixel(l, pt.profileChainage),
                        orv::elevationToPixel(l, pt.pointZ - std::fabs(pt.layerDepth[i])));
        send(section, QEvent::MouseButtonPress, at);
        send(section, QEvent::MouseButtonRelease, at);
        if (b == p.mxindex_bodu && i + 1 < kLayers - 1) {
          send(section, QEvent::MouseButtonDblClick, at);
          send(section, QEvent::MouseButtonRelease, at);
        }
      }
    }
    trigger(&section, "Vymezitvrstvyprovybarvendlerezistivit1");
  }

  void editScale(TSection& section) {
    for (const Interval& i : kIntervals) {
      if (i.upper) dialogs_.answer(i.upper);
      dialogs_.answerColour(platformColour(i.rgb));
    }
    // The next pass: its boundary and its colour cancelled end the editing.
    dialogs_.cancel();
    dialogs_.cancelColour();
    trigger(&section, "Editovatbarevnoukluzobrazenrezistivit1");
  }

  // The whole road, in the start-up folder: the two files are written there
  // under their sample names.
  void makeSample() {
    auto shell = startProgram();
    dialogs_.answer(orv_help::samplePath("lhota-pf1.kmt"));
    trigger(shell->curve(), "OtevtKMT1");
    for (const Sounding& v : kSoundings) {
      if (&v != kSoundings) trigger(shell->curve(), "NatidalKMT1");
      dialogs_.answer(std::to_string(kLayers));
      trigger(shell->curve(), "Automatickmodel1");
      fileWithPointDialog(*shell, v);
    }
    TSection& section = *shell->section();
    // A scale of 1:3000 and five times exaggerated, for the section window
    // of a usual screen.
    dialogs_.answer("3000");
    trigger(&section, "MtkoX1");
    dialogs_.answer("5");
    trigger(&section, "Peven1");
    drawBoundaryLines(section);
    editScale(section);
    dialogs_.answer(orv_help::SampleScale);
    trigger(&section, "Ulobarevnouklurezistivitjako1");
    dialogs_.answer(orv_help::SampleDatabase);
    trigger(&section, "Ulodbnamenchdatavsledk1");
    EXPECT_TRUE(dialogs_.unexpected().empty()) << orv_help::lines(dialogs_.unexpected());
    const std::vector<std::string> editorMessages = {"Zadej barvu pro interval nad 0 ohm.m ",
                                                     "konec hrani s barvickama barvu"};
    EXPECT_EQ(dialogs_.messages(), editorMessages);
  }
};

TEST_F(SampleDatabaseTest, TheProgramMakesTheCommittedSampleAgain) {
  makeSample();
  if (const char* out = std::getenv("ORV_SAMPLES_OUT")) {
    for (const char* name : {orv_help::SampleDatabase, orv_help::SampleScale})
      std::filesystem::copy_file(folder_ / name, std::filesystem::path(out) / name,
                                 std::filesystem::copy_options::overwrite_existing);
  }
  // The editor keeps the upper bound of the first interval from the scale
  // it starts on; everything it was told is compared.
  orv::ZeroedBlock<orv::ColourScale> madeScale, committedScale;
  ASSERT_EQ(orv::readColourScale(*madeScale, (folder_ / orv_help::SampleScale).c_str()).code, 1);
  ASSERT_EQ(
      orv::readColourScale(*committedScale, orv_help::samplePath(orv_help::SampleScale).c_str())
          .code,
      1);
  ASSERT_EQ(madeScale->colResCount, committedScale->colResCount);
  for (int k = 1; k < madeScale->colResCount; ++k) {
    EXPECT_EQ(madeScale->colResColor[k], committedScale->colResColor[k]) << k;
    if (k > 1) {
      EXPECT_EQ(madeScale->colResBound[k], committedScale->colResBound[k]) << k;
    }
  }

  // The fits may differ in their last digits from one compiler to another.
  orv::ZeroedBlock<orv::SectionDatabase> made, committed;
  ASSERT_EQ(orv::readVdb(*made, (folder_ / orv_help::SampleDatabase).c_str()).code, 1);
  ASSERT_EQ(orv::readVdb(*committed, orv_help::samplePath(orv_help::SampleDatabase).c_str()).code,
            1);
  const orv::SectionProfile& a = made->profiles[0];
  const orv::SectionProfile& b = committed->profiles[0];
  ASSERT_EQ(a.mxindex_bodu, b.mxindex_bodu);
  for (int k = 0; k <= a.mxindex_bodu; ++k) {
    SCOPED_TRACE(k);
    ASSERT_EQ(a.points[k].MDLmx, b.points[k].MDLmx);
    for (int i = 0; i <= a.points[k].MDLmx; ++i) {
      EXPECT_NEAR(a.points[k].layerRho[i], b.points[k].layerRho[i],
                  0.01f * b.points[k].layerRho[i]);
      if (i < a.points[k].MDLmx) {
        EXPECT_NEAR(a.points[k].layerDepth[i], b.points[k].layerDepth[i],
                    0.01f * b.points[k].layerDepth[i]);
      }
    }
  }
  ASSERT_EQ(a.HBV_pocet, b.HBV_pocet);
  for (int j = 0; j < a.HBV_pocet; ++j) {
    ASSERT_EQ(a.HBV_pocetBodu[j], b.HBV_pocetBodu[j]);
    for (int v = 0; v < a.HBV_pocetBodu[j]; ++v) {
      EXPECT_NEAR(a.HBV_x[j][v], b.HBV_x[j][v], 0.5f);
      EXPECT_NEAR(a.HBV_z[j][v], b.HBV_z[j][v], 0.5f);
    }
  }
}

TEST_F(SampleDatabaseTest, TheSampleAndItsScaleOpenWithoutAWord) {
  auto shell = startProgram();
  dialogs_.answer(orv_help::samplePath(orv_help::SampleDatabase));
  trigger(shell->section(), "Otevidbnamenchdatavsledk1");
  dialogs_.answer(orv_help::samplePath(orv_help::SampleScale));
  trigger(shell->section(), "Natibarevnouklurezistivit1");
  EXPECT_TRUE(dialogs_.messages().empty()) << orv_help::lines(dialogs_.messages());
  EXPECT_TRUE(dialogs_.unexpected().empty()) << orv_help::lines(dialogs_.unexpected());

  const orv::SectionDatabase& db = shell->section()->database();
  EXPECT_EQ(db.mxindex_profilu, 0);
  EXPECT_EQ(orv::textOf(db.localityName), "Lhota");
  const orv::SectionProfile& p = db.profiles[0];
  EXPECT_EQ(orv::textOf(p.profileName), "pf1");
  const std::vector<int> readings =
      readingsPerRecord(orv_test::readBytes(orv_help::samplePath("lhota-pf1.kmt")));
  ASSERT_EQ(p.mxindex_bodu + 1, static_cast<int>(std::size(kSoundings)));
  ASSERT_EQ(readings.size(), std::size(kSoundings));
  for (int k = 0; k <= p.mxindex_bodu; ++k) {
    SCOPED_TRACE(k);
    const orv::SectionPoint& pt = p.points[k];
    EXPECT_EQ(pt.profileChainage, kSoundings[k].chainage);
    EXPECT_EQ(pt.pointZ, std::strtof(kSoundings[k].elevation, nullptr));
    EXPECT_EQ(pt.Mermx, readings[k]);
    EXPECT_EQ(pt.MDLmx, kLayers - 1);
    EXPECT_LT(pt.fitError, 0.1f);
  }
  EXPECT_EQ(p.HBV_pocet, kLayers - 1);
  for (int j = 0; j < p.HBV_pocet; ++j) EXPECT_EQ(p.HBV_pocetBodu[j], p.mxindex_bodu + 1) << j;

  const orv::ColourScale& scale = shell->section()->viewState().colourScale;
  ASSERT_EQ(scale.colResCount, static_cast<int>(std::size(kIntervals)) + 1);
  for (int k = 2; k < scale.colResCount; ++k) {
    EXPECT_EQ(scale.colResBound[k], std::atoi(kIntervals[k - 1].upper)) << k;
    EXPECT_EQ(scale.colResColor[k], platformColour(kIntervals[k - 1].rgb)) << k;
  }
}

}  // namespace
