// Every command of the curve window is reachable: its item stands in its menu
// with its caption and shortcut, the items a user can only find by key
// included.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

struct MenuItem {
  const char* menu;
  const char* objectName;
  const char* caption;
  QKeySequence shortcut;
};

const MenuItem kItems[] = {
    {"Soubor", "OtevtKMT1", "Otevřít KMT", QKeySequence(Qt::CTRL | Qt::Key_R)},
    {"Soubor", "NatidalKMT1", "Načti další ze souboru KMT", QKeySequence(Qt::CTRL | Qt::Key_D)},
    {"Soubor", "N2", "Načti byvší (předchozí) ze souboru KMT", QKeySequence(Qt::CTRL | Qt::Key_B)},
    {"Soubor", "UloitKMT1", "Uložit do nového souboru KMT", QKeySequence(Qt::Key_F12)},
    {"Soubor", "PiuloitKMT1", "Přiuložit KMT ", QKeySequence()},
    {"Soubor", "Konec1", "Konec", QKeySequence(Qt::CTRL | Qt::Key_Escape)},
    {"Snos", "na1vtev1", "Snos na 1. větev a zprůměrování stejných bodů ", QKeySequence(Qt::Key_1)},
    {"Snos", "na4vtev1", "Snos na 4. větev a zprůměrování stejných bodů ", QKeySequence(Qt::Key_4)},
    {"Snos", "PosunsnesenkivkyVESdovychrezistivit1",
     "Posun snesené křivky VES do vyšších rezistivit", QKeySequence(Qt::Key_F3)},
    {"Snos", "PosunsnesenkivkyVESdonichrezistivit1",
     "Posun snesené křivky VES do nižších rezistivit", QKeySequence(Qt::Key_F2)},
    {"Snos", "PosunsnesenkivkyVESkroklogohmm1", "Posun snesené křivky VES - krok [log ohm.m]",
     QKeySequence(Qt::CTRL | Qt::Key_K)},
    {"Snos", "Editovatsnesenoukivku1", "Editovat snesenou křivku", QKeySequence(Qt::Key_F4)},
    {"", "optimaliyacesfixy1", "Optimalizace (ENTER, klik na tlačítko ...)",
     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F)},
    {"Model", "Vytvoenmodelu1", "Začátek vytváření modelu (pravá myš mimo model)",
     QKeySequence(Qt::Key_F6)},
    {"Model", "Zruitmodel1", "Zrušit model (pravá myš mimo model, Ctrl+pravá)",
     QKeySequence(Qt::CTRL | Qt::Key_Delete)},
    {"Model", "Zkoprujmodeldopamti1", "Zkopíruj model do paměti",
     QKeySequence(Qt::CTRL | Qt::Key_C)},
    {"Model", "Vlomodelzpamti1", "Vlož model z paměti", QKeySequence(Qt::CTRL | Qt::Key_V)},
    {"Model", "Popimodel1", "Popiš model", QKeySequence(Qt::Key_V)},
    {"Model", "PopivypotenoukivkuVES1", "Popiš vypočtenou křivku VES",
     QKeySequence(Qt::CTRL | Qt::Key_P)},
    {"Editace", "EditovatultlbodykivekokenVP1",
     "Editovat ulétlý bod křivek oken VP (jen reinterpretace z leva)", QKeySequence(Qt::Key_F5)},
    {"VP", "uloenvechbodvybjeckivkyproWINSURF1",
     "uložení všech bodů všech vybíjecích křivek pro WINSURF",
     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V)},
    {"VP", "zobrazujnezobrazujvybjeckivky1", "zobrazovat vybíjecí křivky", QKeySequence()},
    {"VP", "asyoken1", "uložení křivek VP pro vykreslení ve WINSURFERu", QKeySequence()},
    {"Tisk", "Vytisknicovid1", "Vytiskni co vidíš", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T)},
    {"Tisk", "Nastaventiskrny1", "Nastavení tiskárny", QKeySequence(Qt::ALT | Qt::Key_T)},
    {"Obrázek", "UlocoviddoJPGsouboru1", "Ulož co vidíš do JPG souboru ",
     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_J)},
    {"Zobrazení", "Npovda1", "Parametry", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)},
    {"Zobrazení", "Defaultnrozdlenobrazovkykolikprocentvpravo1",
     "Defaultní rozdělení obrazovky (kolik procent vpravo)", QKeySequence()},
    {"Help", "Help1", "Help", QKeySequence()},
    {"Help", "Oprogramu1", "O programu", QKeySequence()},
    {"Help", "Preference1", "Preference", QKeySequence()},
};

using CurveWindowMenusTest = StartFolderTest;

TEST_F(CurveWindowMenusTest, EveryItemStandsVisibleInItsMenuWithItsShortcut) {
  Tulvakwin win(nullptr, &dialogs_);
  for (const MenuItem& item : kItems) {
    SCOPED_TRACE(item.objectName);
    QAction* a = win.action(item.objectName);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), QString::fromUtf8(item.caption));
    EXPECT_EQ(a->shortcut(), item.shortcut);
    EXPECT_TRUE(a->isVisible());
    QString menuTitle;
    for (QAction* top : win.menuBar()->actions()) {
      if (top == a) menuTitle = "";
      if (top->menu() && top->menu()->actions().contains(a)) menuTitle = top->menu()->title();
    }
    EXPECT_EQ(menuTitle, QString::fromUtf8(item.menu));
  }
}

TEST_F(CurveWindowMenusTest, NoTwoItemsShareAShortcut) {
  Tulvakwin win(nullptr, &dialogs_);
  QMap<QString, QString> owner;
  for (QAction* a : win.findChildren<QAction*>()) {
    if (a->shortcut().isEmpty()) continue;
    const QString key = a->shortcut().toString();
    EXPECT_FALSE(owner.contains(key))
        << key.toStdString() << " on " << a->objectName().toStdString() << " and "
        << owner.value(key).toStdString();
    owner.insert(key, a->objectName());
  }
}

}  // namespace
