#include "app/tuvitani.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/welcome_picture.h"

QString Tuvitani::greeting() {
  return QStringLiteral(
      "Vítejte v programu na interpretaci křivek VES, MK a VES-VP\n"
      "(vertikální elektrické sondování, metoda odporová a vyzvaná polarizace).");
}

QString Tuvitani::productLine() {
  return QStringLiteral("ORV verze %1").arg(QStringLiteral(ORV_VERSION));
}

Tuvitani::Tuvitani(QWidget* parent) : QDialog(parent), picture_(drawWelcomePicture(420, 300)) {
  setObjectName("Tuvitani");
  setWindowTitle(QStringLiteral("ORV-RUZ-uzev"));
  setModal(true);
  setMouseTracking(true);
  auto* layout = new QVBoxLayout(this);
  auto* hello = new QLabel(greeting(), this);
  hello->setObjectName("Label1");
  hello->setAlignment(Qt::AlignCenter);
  auto* product = new QLabel(productLine(), this);
  product->setObjectName("Label2");
  product->setAlignment(Qt::AlignCenter);
  QFont bold = product->font();
  bold.setBold(true);
  product->setFont(bold);
  auto* image = new QLabel(this);
  image->setObjectName("Image1");
  image->setPixmap(QPixmap::fromImage(picture_));
  image->setAlignment(Qt::AlignCenter);
  layout->addWidget(hello);
  layout->addWidget(product);
  layout->addWidget(image);
  // The labels cover most of the window; they must close it too.
  for (QWidget* w : {static_cast<QWidget*>(hello), static_cast<QWidget*>(product),
                     static_cast<QWidget*>(image)}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
}

void Tuvitani::mouseMoveEvent(QMouseEvent*) {
  accept();
}

void Tuvitani::mousePressEvent(QMouseEvent*) {
  accept();
}

bool Tuvitani::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress) {
    accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
