// The built-in help as a reader meets it: from the pages F1 and "Help" open
// and from the contents every link leads to a page of the program and every
// picture loads, no page or picture is carried that nothing shows, and every
// menu item of both windows is named on some page.
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include "app/help_viewer.h"
#include "app/shell.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/help_road_support.h"
#include "tests/app/shell_fixture.h"

namespace {

using orv_help::attributeValues;
using orv_help::helpFiles;
using orv_help::helpText;

// A picture of a page travels inside the program: small, or the help grows
// the program by megabytes.
constexpr qint64 kLargestPicture = 100 * 1024;

QString pageOf(const QString& resource) {
  return QUrl(resource).path().mid(QStringLiteral("/help/").size());
}

QSet<QString> asSet(const QStringList& names) {
  return QSet<QString>(names.begin(), names.end());
}

TEST(HelpPagesTest, EveryLinkLeadsToAPageAndEveryPictureLoads) {
  const QSet<QString> pages = asSet(helpFiles(QStringLiteral(".html")));
  const QSet<QString> pictures = asSet(helpFiles(QStringLiteral(".png")));
  ASSERT_FALSE(pages.isEmpty());
  QStringList toRead = {pageOf(HelpViewer::pageResource(1)), pageOf(HelpViewer::pageResource(2)),
                        pageOf(HelpViewer::contentsResource())};
  QSet<QString> read, shown;
  while (!toRead.isEmpty()) {
    const QString page = toRead.takeFirst();
    if (read.contains(page)) continue;
    read.insert(page);
    const QString html = helpText(page);
    ASSERT_FALSE(html.isEmpty()) << page.toStdString();
    for (const QString& link : attributeValues(html, QStringLiteral("href"))) {
      EXPECT_TRUE(pages.contains(link)) << page.toStdString() << " -> " << link.toStdString();
      toRead << link;
    }
    for (const QString& src : attributeValues(html, QStringLiteral("src"))) {
      const QString resource = QStringLiteral(":/help/") + src;
      EXPECT_FALSE(QImage(resource).isNull()) << page.toStdString() << ": " << src.toStdString();
      EXPECT_LE(QFileInfo(resource).size(), kLargestPicture) << src.toStdString();
      shown.insert(src);
    }
  }
  EXPECT_EQ(read, pages) << "a page no link reaches, or a link to no page";
  EXPECT_EQ(shown, pictures) << "a picture no page shows";
}

using HelpMenuCoverageTest = StartFolderTest;

TEST_F(HelpMenuCoverageTest, EveryMenuItemOfBothWindowsIsNamedInTheHelp) {
  Shell shell(&dialogs_, false);
  QString help;
  for (const QString& page : helpFiles(QStringLiteral(".html"))) {
    QTextDocument document;
    document.setHtml(helpText(page));
    help += document.toPlainText().simplified() + QLatin1Char(' ');
  }
  // The profile items take the names of the profiles; the help names them
  // as a group.
  const QRegularExpression profileItem(QStringLiteral("^pf\\d+$"));
  int named = 0;
  for (QWidget* window :
       {static_cast<QWidget*>(shell.curve()), static_cast<QWidget*>(shell.section())}) {
    for (const QAction* a : window->findChildren<QAction*>()) {
      const QString caption = QString(a->text()).remove(QLatin1Char('&')).simplified();
      if (a->isSeparator() || caption.isEmpty() || profileItem.match(a->objectName()).hasMatch())
        continue;
      EXPECT_TRUE(help.contains(caption))
          << a->objectName().toStdString() << ": \"" << caption.toStdString() << "\"";
      ++named;
    }
  }
  EXPECT_GT(named, 100);
}

}  // namespace
