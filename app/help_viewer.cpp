#include "app/help_viewer.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The pages are compiled into the windows library; a static library's
// resources must be registered by hand.
static void registerHelpPages() {
  Q_INIT_RESOURCE(help);
}

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  registerHelpPages();
  setObjectName("HelpViewer");
  setWindowTitle(QStringLiteral("orv-ruzUzev - nápověda"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  browser_->setOpenLinks(true);
  resize(720, 640);
}

QString HelpViewer::pageResource(int context) {
  return context == 2 ? QStringLiteral("qrc:/help/kontext2.html")
                      : QStringLiteral("qrc:/help/kontext1.html");
}

void HelpViewer::showContext(int context) {
  context_ = context == 2 ? 2 : 1;
  browser_->setSource(QUrl(pageResource(context_)));
  show();
  raise();
  activateWindow();
}

QString HelpViewer::pageText() const {
  return browser_->toPlainText();
}
