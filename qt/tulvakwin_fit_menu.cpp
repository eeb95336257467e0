// The additions to the "Model" menu: the thorough fit, the equivalence ranges,
// the parameter uncertainty and the automatic start model. None of them runs
// unless chosen.
#include <QMenu>
#include <QMenuBar>

#include "commands/curve/auto_model_command.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/equivalence_command.h"
#include "commands/curve/parameter_uncertainty_command.h"
#include "commands/curve/smooth_inversion.h"
#include "commands/curve/thorough_fit_command.h"
#include "core/interpretation/auto_model.h"
#include "core/interpretation/equivalence.h"
#include "core/interpretation/thorough_fit.h"
#include "qt/tulvakwin.h"

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
  addItem(model, "Hladkinverze1", QStringLiteral("Hladká inverze (bez počtu vrstev)"),
          QKeySequence(), [this] { orv::smoothInversion(session_); });
  addItem(model, QString::fromUtf8(orv::ShowDepthOfInvestigationItem),
          QStringLiteral("Zobrazovat hloubku dosahu"), QKeySequence(),
          [this] { orv::toggleDepthOfInvestigation(session_); })
      ->setCheckable(true);
}
