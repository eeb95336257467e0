// The roads behind the samples and the help pictures: the repository's
// samples folder, menu items triggered by their object names, the point
// dialog filled in from a field book, and the help pages as the viewer holds
// them.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "qt/tvesparametryedit.h"

// The pages are compiled into the windows library, whose resources are
// registered by hand (outside any namespace, as Qt wants it).
inline void registerHelpResources() {
  Q_INIT_RESOURCE(help);
}

namespace orv_help {

inline std::filesystem::path samplesFolder() {
  return std::filesystem::path(ORV_FIXTURES_DIR).parent_path().parent_path() / "samples";
}

inline std::string samplePath(const char* name) {
  return (samplesFolder() / name).string();
}

// The sample database of the README and the colour scale that goes with it.
inline constexpr const char* SampleDatabase = "lhota-pf1.vdb";
inline constexpr const char* SampleScale = "lhota-rezistivity.rsc";

// Every record of a scripted dialog, one a line, for a failure's message.
inline std::string lines(const std::vector<std::string>& records) {
  std::string all;
  for (const std::string& r : records) all += r + "\n";
  return all;
}

inline void trigger(QWidget* window, const char* objectName) {
  QAction* a = window->findChild<QAction*>(objectName);
  ASSERT_NE(a, nullptr) << objectName;
  a->trigger();
  QApplication::processEvents();
}

// What the crew's field book gives a sounding point.
struct FieldBook {
  QString locality;
  QString profile;
  QString point;
  QString date;
  QString elevation;
};

inline void typeFieldBook(QWidget* dialog, const FieldBook& f) {
  const std::pair<const char*, QString> typed[] = {{"eZeme", QStringLiteral("Česko")},
                                                   {"eKraj", QStringLiteral("Vysočina")},
                                                   {"eLokalita", f.locality},
                                                   {"eProfil", f.profile},
                                                   {"eNazev", f.point},
                                                   {"eDatum", f.date},
                                                   {"eOperator", QStringLiteral("Svoboda")},
                                                   {"eZ", f.elevation}};
  for (const auto& [field, text] : typed) {
    auto* edit = dialog->findChild<QLineEdit*>(field);
    ASSERT_NE(edit, nullptr) << field;
    edit->setText(text);
  }
}

// --- the help pages ---------------------------------------------------------------

inline QString helpText(const QString& page) {
  QFile f(QStringLiteral(":/help/") + page);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

inline QStringList helpFiles(const QString& suffix) {
  registerHelpResources();
  QStringList names;
  const auto entries = QDir(QStringLiteral(":/help")).entryList(QDir::Files, QDir::Name);
  for (const QString& e : entries)
    if (e.endsWith(suffix)) names << e;
  const auto pictures = QDir(QStringLiteral(":/help/obrazky")).entryList(QDir::Files, QDir::Name);
  for (const QString& e : pictures)
    if (e.endsWith(suffix)) names << QStringLiteral("obrazky/") + e;
  return names;
}

// The values of one attribute (href, src) in a page, anchors cut off.
inline QStringList attributeValues(const QString& html, const QString& attribute) {
  QStringList values;
  const QRegularExpression re(attribute + QStringLiteral("=\"([^\"#]*)[^\"]*\""));
  for (auto it = re.globalMatch(html); it.hasNext();) {
    const QString v = it.next().captured(1);
    if (!v.isEmpty()) values << v;
  }
  return values;
}

inline QSet<QString> picturesOfTheHelp() {
  QSet<QString> pictures;
  for (const QString& page : helpFiles(QStringLiteral(".html")))
    for (const QString& src : attributeValues(helpText(page), QStringLiteral("src")))
      pictures.insert(src);
  return pictures;
}

}  // namespace orv_help
