#include "app/orv_application.h"

#include <QMessageBox>
#include <exception>

OrvApplication::OrvApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The product name in small letters followed by -ruzUzev.
  setApplicationName(QStringLiteral("orv"));
  setApplicationDisplayName(QStringLiteral("orv-ruzUzev"));
  setApplicationVersion(QStringLiteral(ORV_VERSION));
  setQuitOnLastWindowClosed(false);
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
