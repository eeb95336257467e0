#include "app/to_programu.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

const char* To_programu::firstLine() {
  return "Program na interpretaci  křivek VES naměřených aparaturou ODRAM2 , ODRAM3 nebo Kalomet "
         "uložených";
}

const char* To_programu::secondLine() {
  return " ve formátu OAX (i jejich  převod na KMT), ve formátu KMT nebo i ruční vstup naměřených "
         "křivek VES.";
}

To_programu::To_programu(QWidget* parent) : QDialog(parent) {
  setObjectName("To_programu");
  setWindowTitle(QStringLiteral("o programu"));
  setModal(true);
  auto* group = new QGroupBox(QStringLiteral("ulvakwin"), this);
  group->setObjectName("GroupBox1");
  auto* inner = new QVBoxLayout(group);
  auto* l1 = new QLabel(QString::fromUtf8(firstLine()), group);
  l1->setObjectName("Label1");
  auto* l2 = new QLabel(QString::fromUtf8(secondLine()), group);
  l2->setObjectName("Label2");
  inner->addWidget(l1);
  inner->addWidget(l2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
}
