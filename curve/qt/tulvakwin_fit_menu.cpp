// The additions to the "Model" menu: the thorough fit, the equivalence ranges,
// the parameter uncertainty and the automatic start model. None of them runs
// unless chosen.
#include <QMenu>
#include <QMenuBar>

#include "curve/qt/tulvakwin.h"
#include "interpretation/auto_model.h"
#include "interpretation/equivalence.h"
#include "interpretation/parameter_uncertainty.h"
#include "interpretation/thorough_fit.h"

void Tulvakwin::buildFitMenu() {
  QMenu* model = findChild<QMenu*>("Model1");
  if (!model) return;
  model->addSeparator();
  addItem(model, "Dkladnoptimalizace1", QStringLiteral("Důkladná optimalizace"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D), [this] { orv::thoroughFit(session_); });
  addItem(model, "Zobrazrozsahyekvivalence1", QStringLiteral("Zobraz rozsahy ekvivalence"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E),
          [this] { orv::showEquivalenceRanges(session_); });
  addItem(model, "Nejistotaparametr1", QStringLiteral("Nejistota parametrů"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N),
          [this] { orv::showParameterUncertainty(session_); });
  addItem(model, "Automatickmodel1", QStringLiteral("Automatický model"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A), [this] { orv::autoModel(session_); });
}
