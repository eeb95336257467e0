#include "app/orv_application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

OrvApplication::OrvApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The product name in small letters followed by -ruzUzev: what the desktop
  // shows for the program. Only the name is set: a display name set as well
  // would be appended by the window system to every caption, and captions
  // carry exactly what the windows say.
  setApplicationName(QStringLiteral("orv-ruzUzev"));
  setApplicationVersion(QStringLiteral(ORV_VERSION));
  setQuitOnLastWindowClosed(false);
  // Every text the user sees is Czech, the framework's own dialogs included
  // (file dialogs, button captions).
  auto* czech = new QTranslator(this);
  if (czech->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                  QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(czech);
  else
    delete czech;
}

bool OrvApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    report(QString::fromUtf8(e.what()));
  } catch (...) {
    report(QStringLiteral("Neznámá chyba programu."));
  }
  return false;
}

void OrvApplication::report(const QString& text) {
  if (reporter_) {
    reporter_(text);
    return;
  }
  QMessageBox::critical(activeWindow(), applicationDisplayName(), text);
}
