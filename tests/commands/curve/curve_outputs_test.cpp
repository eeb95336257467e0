// "Vytiskni co vidíš" before the page goes out and the JPEG file dialog: the
// refusal without a drawn sounding, the caption written over the picture and
// the questions the save dialog asks.
#include "commands/curve/curve_outputs.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/fixed_text.h"
#include "commands/curve/curve_rendering.h"
#include "tests/commands/curve/chart_fixture.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using namespace testing_support;

class CurvePrintTest : public ::testing::Test {
 protected:
  CurvePrintTest() {
    useDefaultDisplaySettings(*s);
    useChartGeometry(*s, RecordingCanvas::CharWidth, RecordingCanvas::TextHeight, 600, 400);
    canvas.resize(s->imageWidth, s->imageHeight);
    paintCurves(c);
    canvas.clear();
    s->curveLoaded = true;
    setTextFromUtf8(s->instrumentFilePath, "/data/měření/lhota-pf1.kmt");
  }

  ZeroedBlock<CurveWindowState> s;
  RecordingCanvas canvas{656, 452};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  CountingSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
};

struct ReadyCase {
  bool loaded, drawn;
};

class CurvePrintReadyTest : public CurvePrintTest,
                            public ::testing::WithParamInterface<ReadyCase> {};

TEST_P(CurvePrintReadyTest, NeedsALoadedAndDrawnSounding) {
  s->curveLoaded = GetParam().loaded;
  s->curveDrawn = GetParam().drawn;
  const bool ready = GetParam().loaded && GetParam().drawn;
  EXPECT_EQ(ready, prepareCurvePrint(c, 800));
  if (ready) {
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(1u, canvas.ofKind(CallKind::Text).size());
  } else {
    ASSERT_EQ(1u, dialogs.messages().size());
    EXPECT_EQ(NoCurveToPrintMessage, dialogs.messages()[0]);
    EXPECT_TRUE(canvas.calls.empty()) << "nothing may be written over the picture";
  }
}

INSTANTIATE_TEST_SUITE_P(LoadedAndDrawn, CurvePrintReadyTest,
                         ::testing::Values(ReadyCase{false, false}, ReadyCase{true, false},
                                           ReadyCase{false, true}, ReadyCase{true, true}));

struct PlaceCase {
  int clientWidth;
  int imageHeight, plotBottom, textHeight;
  int x, y;
};

class CurvePrintPlaceTest : public CurvePrintTest,
                            public ::testing::WithParamInterface<PlaceCase> {};

// Integer divisions all through: the client width by 15, the strip's middle
// and a fifth of the text height, each truncated on its own.
TEST_P(CurvePrintPlaceTest, CaptionStandsInTheStripBelowThePlot) {
  const PlaceCase& p = GetParam();
  s->curveDrawn = true;
  s->imageHeight = p.imageHeight;
  s->plotBottom = p.plotBottom;
  s->textHeight = p.textHeight;
  ASSERT_TRUE(prepareCurvePrint(c, p.clientWidth));
  const auto texts = canvas.ofKind(CallKind::Text);
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ(p.x, texts[0].points[0].x);
  EXPECT_EQ(p.y, texts[0].points[0].y);
  EXPECT_EQ("ORV-program na zpracování VES - otevřen: /data/měření/lhota-pf1.kmt", texts[0].text);
}

INSTANTIATE_TEST_SUITE_P(Divisions, CurvePrintPlaceTest,
                         ::testing::Values(PlaceCase{14, 452, 426, 13, 0, 437},
                                           PlaceCase{15, 452, 426, 13, 1, 437},
                                           PlaceCase{29, 453, 426, 14, 1, 437},
                                           PlaceCase{30, 453, 426, 15, 2, 436},
                                           PlaceCase{1200, 780, 740, 4, 80, 760},
                                           PlaceCase{1214, 781, 740, 5, 80, 759}));

TEST_F(CurvePrintTest, CaptionUsesTheCanvasStateAsTheLastDrawingLeftIt) {
  s->curveDrawn = true;
  canvas.setFontColour(0x0000FF);
  canvas.setTextTransparent(true);
  canvas.setFontBold(true);
  canvas.setBrushColour(0x00FF00);
  ASSERT_TRUE(prepareCurvePrint(c, 656));
  const auto texts = canvas.ofKind(CallKind::Text);
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ(0x0000FF, texts[0].fontColour);
  EXPECT_TRUE(texts[0].transparent);
  EXPECT_TRUE(texts[0].bold);
  EXPECT_EQ(0x00FF00, texts[0].brushColour);
}

TEST_F(CurvePrintTest, PrintingTwiceWritesTheCaptionTwiceAtTheSamePlace) {
  s->curveDrawn = true;
  ASSERT_TRUE(prepareCurvePrint(c, 656));
  ASSERT_TRUE(prepareCurvePrint(c, 656));
  const auto texts = canvas.ofKind(CallKind::Text);
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ(texts[0].text, texts[1].text);
  EXPECT_EQ(texts[0].points[0].x, texts[1].points[0].x);
  EXPECT_EQ(texts[0].points[0].y, texts[1].points[0].y);
}

// Records what the save dialog was asked with.
class RequestRecordingDialogs : public ui::ScriptedDialogs {
 public:
  std::optional<std::string> saveFile(const ui::FileDialogRequest& r) override {
    request = r;
    return ScriptedDialogs::saveFile(r);
  }
  ui::FileDialogRequest request;
};

TEST(CurvePictureFileTest, AsksForAJpegFileAndGivesTheAnswer) {
  RequestRecordingDialogs dialogs;
  dialogs.answer("/tmp/krivka.jpg");
  EXPECT_EQ(std::optional<std::string>("/tmp/krivka.jpg"), chooseCurvePictureFile(dialogs));
  EXPECT_EQ("souboryJPG|*.jpg|souboryJPG|*.JPG", dialogs.request.filter);
  EXPECT_EQ("jpg", dialogs.request.defaultExtension);
  EXPECT_FALSE(dialogs.request.title.empty());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(CurvePictureFileTest, CancelAndAnEmptyNameGiveNoFile) {
  RequestRecordingDialogs dialogs;
  dialogs.cancel();
  dialogs.answer("");
  EXPECT_EQ(std::nullopt, chooseCurvePictureFile(dialogs));
  EXPECT_EQ(std::nullopt, chooseCurvePictureFile(dialogs));
  EXPECT_TRUE(dialogs.unexpected().empty());
  EXPECT_TRUE(dialogs.messages().empty());
}

}  // namespace
}  // namespace orv
