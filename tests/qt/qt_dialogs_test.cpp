#include "qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <functional>

namespace {

using ui::FileDialogRequest;
using ui::QtDialogs;

struct FilterCase {
  const char* filter;
  QStringList expected;
};

class FilterConversion : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterConversion, BecomesQtNameFilters) {
  EXPECT_EQ(ui::qtNameFilters(GetParam().filter), GetParam().expected) << GetParam().filter;
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterConversion,
    ::testing::Values(FilterCase{"", {}},
                      FilterCase{"KMT soubory|*.KMT", {"KMT soubory (*.KMT *.kmt)"}},
                      FilterCase{"KMT soubory (*.kmt)|*.kmt|Všechny soubory|*.*",
                                 {"KMT soubory (*.kmt *.KMT)", "Všechny soubory (*)"}},
                      FilterCase{"Data|*.oax;*.sas", {"Data (*.oax *.OAX *.sas *.SAS)"}},
                      FilterCase{"Mixed|*.Vdb", {"Mixed (*.Vdb *.vdb *.VDB)"}},
                      FilterCase{"Bez vzoru", {"Bez vzoru (*)"}},
                      FilterCase{"|*.dxf", {"*.dxf *.DXF (*.dxf *.DXF)"}},
                      FilterCase{"Soubory (staré)|*.rsc", {"Soubory (staré) (*.rsc *.RSC)"}}));

// Runs `act` on the modal dialog as soon as it is up.
void whenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start();
}

TEST(QtDialogs, MessageShowsTheTextUnderTheApplicationTitle) {
  QApplication::setApplicationDisplayName(QString());
  QtDialogs d(nullptr);
  QString title, text;
  whenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    box->accept();
  });
  d.message("záznam nenačten");
  EXPECT_EQ(text, QString::fromUtf8("záznam nenačten"));
  EXPECT_EQ(title, QString("orv-ruzUzev"));
  EXPECT_EQ(ui::messageTitle(), QString("orv-ruzUzev"));
  QApplication::setApplicationDisplayName("ORV");
  EXPECT_EQ(ui::messageTitle(), QString("ORV"));
  QApplication::setApplicationDisplayName(QString());
}

TEST(QtDialogs, InputQueryPresetsTheDefaultAndReturnsTheTypedText) {
  QtDialogs d(nullptr);
  QString caption, label, preset;
  whenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QInputDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    caption = dlg->windowTitle();
    label = dlg->labelText();
    preset = dlg->textValue();
    dlg->setTextValue("3,5");
    dlg->accept();
  });
  const auto got = d.inputQuery("Mocnost", "Zadej mocnost [m]:", "2.5");
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(*got, "3,5");
  EXPECT_EQ(caption, QString("Mocnost"));
  EXPECT_EQ(label, QString("Zadej mocnost [m]:"));
  EXPECT_EQ(preset, QString("2.5"));
}

TEST(QtDialogs, InputQueryCancelledIsNullopt) {
  QtDialogs d(nullptr);
  whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(d.inputQuery("a", "b", "c").has_value());
}

TEST(QtDialogs, SaveFileAddsTheDefaultExtensionAndNeverAsksAboutOverwriting) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile existing(dir.filePath("ves.kmt"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();
  QtDialogs d(nullptr);
  bool noConfirm = false;
  QStringList filters;
  QString title;
  whenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    noConfirm = dlg->testOption(QFileDialog::DontConfirmOverwrite);
    filters = dlg->nameFilters();
    title = dlg->windowTitle();
    // takes the preset name, which exists
    QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
  });
  FileDialogRequest r;
  r.title = "Uložit KMT";
  r.filter = "KMT soubory|*.KMT";
  r.defaultExtension = "kmt";
  r.presetName = (dir.path() + "/ves").toStdString();
  const auto got = d.saveFile(r);
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(QString::fromStdString(*got), dir.filePath("ves.kmt"));
  EXPECT_TRUE(noConfirm);
  EXPECT_EQ(filters, QStringList{"KMT soubory (*.KMT *.kmt)"});
  EXPECT_EQ(title, QString::fromUtf8("Uložit KMT"));
}

TEST(QtDialogs, OpenFileCancelledIsNullopt) {
  QtDialogs d(nullptr);
  whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  FileDialogRequest r;
  r.title = "Otevřít";
  r.filter = "VDB|*.vdb";
  EXPECT_FALSE(d.openFile(r).has_value());
}

TEST(QtDialogs, ChooseColourConvertsBothWays) {
  QtDialogs d(nullptr);
  QColor shown;
  whenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    shown = dlg->currentColor();
    dlg->setCurrentColor(QColor(0x12, 0x34, 0x56));
    dlg->accept();
  });
  const auto got = d.chooseColour(0x0000FF);  // red
  EXPECT_EQ(shown, QColor(255, 0, 0));
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(*got, 0x563412);
}

TEST(QtDialogs, ReportShowsTheTextInAFixedFontUntilOk) {
  QtDialogs d(nullptr);
  QString title, text;
  bool fixed = false;
  whenModal([&](QWidget* w) {
    auto* view = w->findChild<QPlainTextEdit*>("reportText");
    ASSERT_NE(view, nullptr);
    title = w->windowTitle();
    text = view->toPlainText();
    const QFontMetrics metrics(view->font());
    fixed = metrics.horizontalAdvance("iiii") == metrics.horizontalAdvance("WWWW") &&
            view->isReadOnly();
    qobject_cast<QDialog*>(w)->accept();
  });
  d.report("Nejistota parametrů", "ρ1   49.9\nh1   3.2");
  EXPECT_EQ(title, QString::fromUtf8("Nejistota parametrů"));
  EXPECT_EQ(text, QString::fromUtf8("ρ1   49.9\nh1   3.2"));
  EXPECT_TRUE(fixed);
}

// Short work shows nothing, nor does a progress taken while the command
// still asks its questions; work that will last shows the dialog, and
// "Storno" stops it at the next step.
TEST(QtDialogs, ProgressAppearsForLongWorkAndStornoStopsIt) {
  QtDialogs d(nullptr);
  {
    std::unique_ptr<ui::Progress> waiting = d.progress("Laterálně vázaná inverze");
    QThread::msleep(700);
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
      EXPECT_FALSE(qobject_cast<QProgressDialog*>(w) && w->isVisible());
  }
  {
    std::unique_ptr<ui::Progress> quick = d.progress("Důkladná optimalizace");
    for (int k = 1; k <= 5; ++k) {
      EXPECT_TRUE(quick->step(k, 0));
      EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
  }
  QString label, button;
  whenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QProgressDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    label = dlg->labelText();
    const QPushButton* cancel = dlg->findChild<QPushButton*>();
    if (cancel) button = cancel->text();
    dlg->cancel();
  });
  std::unique_ptr<ui::Progress> p = d.progress("Rozsahy ekvivalence");
  int done = 0;
  while (done < 100 && p->step(++done, 100)) QThread::msleep(20);
  EXPECT_LT(done, 100);
  EXPECT_EQ(label, QString("Rozsahy ekvivalence"));
  // Work that has done its last step leaves no dialog behind it.
  std::unique_ptr<ui::Progress> whole = d.progress("Interpretuj celý profil");
  for (int k = 1; k <= 30; ++k) {
    QThread::msleep(30);
    whole->step(k, 30);
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(button, QString("Storno"));
}

}  // namespace
