#include "qt/ttabulkamodelu.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstring>

#include "base/c_format.h"
#include "core/interpretation/forward_problem.h"

namespace {

// Columns: each value followed by its fix mark.
enum Column { RhoValue, RhoFix, ThicknessValue, ThicknessFix, DepthValue, DepthFix, Columns };

orv::ModelColumn modelColumnOf(int column) {
  switch (column / 2) {
    case 0:
      return orv::ModelColumn::Rho;
    case 1:
      return orv::ModelColumn::Thickness;
    default:
      return orv::ModelColumn::Depth;
  }
}

bool sameRows(const std::vector<orv::ModelTableRow>& a, const std::vector<orv::ModelTableRow>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const orv::ModelTableRow &x = a[i], &y = b[i];
    if (x.rho != y.rho || x.thickness != y.thickness || x.depth != y.depth ||
        x.rhoFixed != y.rhoFixed || x.thicknessFixed != y.thicknessFixed ||
        x.depthFixed != y.depthFixed || x.halfSpace != y.halfSpace)
      return false;
  }
  return true;
}

QTableWidgetItem* valueItem(float v, bool editable) {
  auto* item = new QTableWidgetItem(editable ? QString::fromStdString(orv::shortestText(v)) : "");
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (!editable) item->setFlags(Qt::ItemIsEnabled);
  return item;
}

QTableWidgetItem* fixItem(bool fixed, bool editable) {
  auto* item = new QTableWidgetItem();
  if (!editable) {
    item->setFlags(Qt::ItemIsEnabled);
    return item;
  }
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(fixed ? Qt::Checked : Qt::Unchecked);
  return item;
}

}  // namespace

Ttabulkamodelu::Ttabulkamodelu(QWidget* parent, orv::CurveSession& session,
                               std::function<void()> changed)
    : QDialog(parent), session_(session), changed_(std::move(changed)) {
  setObjectName("Tabulkamodelu");
  setWindowTitle(QStringLiteral("Tabulka modelu"));
  setModal(false);
  table_ = new QTableWidget(0, Columns, this);
  table_->setObjectName("tabulka");
  table_->setHorizontalHeaderLabels({QStringLiteral("ρ [Ω·m]"), QStringLiteral("fix ρ"),
                                     QStringLiteral("h [m]"), QStringLiteral("fix h"),
                                     QStringLiteral("hloubka [m]"), QStringLiteral("fix hl.")});
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  misfit_ = new QLabel(this);
  auto* insert = new QPushButton(QStringLiteral("Vložit vrstvu"), this);
  insert->setObjectName("vlozitvrstvu");
  auto* remove = new QPushButton(QStringLiteral("Smazat vrstvu"), this);
  remove->setObjectName("smazatvrstvu");
  auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
  for (QPushButton* b : {insert, remove, close}) b->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(insert);
  buttons->addWidget(remove);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(misfit_);
  layout->addLayout(buttons);
  resize(520, 420);

  connect(table_, &QTableWidget::itemChanged, this, &Ttabulkamodelu::itemChanged);
  connect(insert, &QPushButton::clicked, this, &Ttabulkamodelu::insertLayer);
  connect(remove, &QPushButton::clicked, this, &Ttabulkamodelu::deleteLayer);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  refresh();
}

void Ttabulkamodelu::refresh() {
  const orv::CurveWindowState& s = session_.s;
  misfit_->setText(s.computedCurveValid
                       ? QString::fromStdString(orv::ssqText(s.modelFitError)).trimmed()
                       : QString());
  std::vector<orv::ModelTableRow> rows = orv::modelTableRows(s);
  if (shownOnce_ && sameRows(rows, shown_)) return;
  shownOnce_ = true;
  filling_ = true;
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const orv::ModelTableRow& r = rows[i];
    const bool layer = !r.halfSpace;
    table_->setVerticalHeaderItem(
        i, new QTableWidgetItem(layer ? QString::number(i + 1)
                                      : QStringLiteral("%1 poloprostor").arg(i + 1)));
    table_->setItem(i, RhoValue, valueItem(r.rho, true));
    table_->setItem(i, RhoFix, fixItem(r.rhoFixed, true));
    table_->setItem(i, ThicknessValue, valueItem(r.thickness, layer));
    table_->setItem(i, ThicknessFix, fixItem(r.thicknessFixed, layer));
    table_->setItem(i, DepthValue, valueItem(r.depth, layer));
    table_->setItem(i, DepthFix, fixItem(r.depthFixed, layer));
  }
  filling_ = false;
  shown_ = std::move(rows);
}

void Ttabulkamodelu::itemChanged(QTableWidgetItem* item) {
  if (filling_) return;
  const int row = item->row();
  const int column = item->column();
  if (column % 2 == 0)
    orv::setModelValue(session_, row, modelColumnOf(column), item->text().toStdString());
  else
    orv::setModelFix(session_, row, modelColumnOf(column), item->checkState() == Qt::Checked);
  // A value refused keeps the old one: the row is written again either way.
  shownOnce_ = false;
  if (changed_) changed_();
  refresh();
}

int Ttabulkamodelu::selectedLayer() const {
  const QList<QTableWidgetItem*> selected = table_->selectedItems();
  return selected.isEmpty() ? -1 : selected.front()->row();
}

void Ttabulkamodelu::insertLayer() {
  const int layer = selectedLayer();
  // Without a choice the new layer goes above the half-space.
  const int at = layer >= 0 ? layer : std::max(table_->rowCount() - 1, 0);
  orv::insertModelLayer(session_, at);
  if (changed_) changed_();
  refresh();
}

void Ttabulkamodelu::deleteLayer() {
  const int layer = selectedLayer();
  if (layer < 0) return;
  orv::deleteModelLayer(session_, layer);
  if (changed_) changed_();
  refresh();
}
