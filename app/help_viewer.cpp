#include "app/help_viewer.h"

#include <QHBoxLayout>
#include <QPushButton>
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
  auto* back = new QPushButton(QStringLiteral("Zpět"), this);
  back->setObjectName("HelpBack");
  back->setEnabled(false);
  auto* contents = new QPushButton(QStringLiteral("Obsah"), this);
  contents->setObjectName("HelpContents");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(contents);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  browser_->setOpenLinks(true);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, this,
          [this] { browser_->setSource(QUrl(contentsResource())); });
  // The pictures of the pages are up to 900 pixels wide.
  resize(960, 760);
}

QString HelpViewer::pageResource(int context) {
  return context == 2 ? QStringLiteral("qrc:/help/kontext2.html")
                      : QStringLiteral("qrc:/help/kontext1.html");
}

QString HelpViewer::contentsResource() {
  return QStringLiteral("qrc:/help/obsah.html");
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
