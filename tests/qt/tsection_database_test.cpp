// The database file commands through the real section window: its DB menu
// items, their shortcuts, the caption after saving and the window shown by
// an open.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>

#include "qt/tsection.h"
#include "tests/core/section/vdb_test_support.h"
#include "tests/qt/section_qt_support.h"

namespace orv::testing {
namespace {

class SectionDatabaseWindowTest : public ::testing::Test {
 protected:
  // The start-up load of the colour scale has its own test.
  SectionDatabaseWindowTest() { dialogs.clearRecords(); }
  SectionDatabase& db() { return w.database(); }
  void trigger(const char* name) {
    QAction* a = w.action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }

  ScratchFolder scratch;
  std::string dir = scratch.path();
  ui::ScriptedDialogs dialogs;
  RecordingCurveLink link;
  TSection w{link, 300, nullptr, &dialogs};
};

TEST_F(SectionDatabaseWindowTest, DbMenuHoldsOpenSaveAndSaveAs) {
  QMenu* menu = w.menuBar()->findChild<QMenu*>("DB1");
  ASSERT_NE(menu, nullptr);
  QStringList names, texts, keys;
  for (QAction* a : menu->actions())
    names << a->objectName(), texts << a->text(), keys << a->shortcut().toString();
  EXPECT_EQ(names, (QStringList{"Otevidbnamenchdatavsledk1", "Ulodbnamenchdatavsledkjako1",
                                "Ulodbnamenchdatavsledk1", "Konec1"}));
  EXPECT_EQ(texts, (QStringList{QStringLiteral("Otevři db naměřených dat a výsledků "),
                                QStringLiteral("Ulož db naměřených dat a výsledků "),
                                QStringLiteral("Ulož db naměřených dat a výsledků jako"),
                                QStringLiteral("Konec")}));
  EXPECT_EQ(keys, (QStringList{"Ctrl+O", "Ctrl+U", "Ctrl+Alt+U", ""}));
}

TEST_F(SectionDatabaseWindowTest, SaveThenOpenThroughTheMenus) {
  for (int b = 0; b < 3; ++b) fillPoint(db().profiles[0].points[b], b + 1);
  db().profiles[0].mxindex_bodu = 2;
  setTextFromUtf8(db().localityName, "Třebíč");

  dialogs.answer(dir + "lok.vdb");
  trigger("Ulodbnamenchdatavsledkjako1");  // no name yet: asks
  trigger("Ulodbnamenchdatavsledkjako1");  // now it has one: numbers
  EXPECT_EQ(dialogs.questions().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir + "lok.vdb"));
  EXPECT_EQ(w.windowTitle(), QString::fromStdString("db: " + dir + "lok.vdb_1 - lok:Třebíč"));
  dialogs.answer(dir + "jiny.vdb");
  trigger("Ulodbnamenchdatavsledk1");  // "jako" always asks
  EXPECT_TRUE(std::filesystem::exists(dir + "jiny.vdb"));

  db().profiles[0].mxindex_bodu = 0;
  setText(db().profiles[0].points[1].pointName, "přepsáno");
  EXPECT_FALSE(w.isVisible());
  dialogs.answer(dir + "lok.vdb_1");
  trigger("Otevidbnamenchdatavsledk1");
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_TRUE(w.isVisible());
  ASSERT_EQ(db().profiles[0].mxindex_bodu, 2);
  EXPECT_EQ(textOf(db().profiles[0].points[1].pointName), "bod2");
  EXPECT_EQ(shownText(db().localityName), "Třebíč");
}

}  // namespace
}  // namespace orv::testing
