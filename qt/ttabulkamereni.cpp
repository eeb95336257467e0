#include "qt/ttabulkamereni.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "base/c_format.h"

namespace {

enum Column { AbHalf, MnHalf, Rho, Branch, Used, Columns };

bool sameReadings(const std::vector<orv::TableReading>& a,
                  const std::vector<orv::TableReading>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const orv::TableReading &x = a[i], &y = b[i];
    if (x.abHalf != y.abHalf || x.mnHalf != y.mnHalf || x.rho != y.rho || x.branch != y.branch ||
        x.used != y.used)
      return false;
  }
  return true;
}

QTableWidgetItem* numberItem(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

Ttabulkamereni::Ttabulkamereni(QWidget* parent, orv::CurveSession& session,
                               std::function<void()> changed)
    : QDialog(parent), session_(session), changed_(std::move(changed)) {
  setObjectName("Tabulkamen");
  setModal(false);
  table_ = new QTableWidget(0, Columns, this);
  table_->setObjectName("tabulka");
  table_->setHorizontalHeaderLabels({QStringLiteral("AB/2 [m]"), QStringLiteral("MN/2 [m]"),
                                     QStringLiteral("ρa [Ω·m]"), QStringLiteral("větev"),
                                     QStringLiteral("použít")});
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);

  auto* add = new QPushButton(QStringLiteral("Přidat řádek"), this);
  add->setObjectName("pridatradek");
  auto* remove = new QPushButton(QStringLiteral("Smazat řádky"), this);
  remove->setObjectName("smazatradky");
  auto* again = new QPushButton(QStringLiteral("Obnovit"), this);
  again->setObjectName("obnovit");
  auto* use = new QPushButton(QStringLiteral("Použít"), this);
  use->setObjectName("pouzit");
  auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
  for (QPushButton* b : {add, remove, again, use, close}) b->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add, remove, again}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(use);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  resize(460, 560);

  connect(table_, &QTableWidget::itemChanged, this, &Ttabulkamereni::itemChanged);
  connect(add, &QPushButton::clicked, this, &Ttabulkamereni::addRow);
  connect(remove, &QPushButton::clicked, this, &Ttabulkamereni::deleteRows);
  connect(again, &QPushButton::clicked, this, &Ttabulkamereni::reload);
  connect(use, &QPushButton::clicked, this, &Ttabulkamereni::apply);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  reload();
}

void Ttabulkamereni::setEdited(bool edited) {
  edited_ = edited;
  // The title says that the sounding does not hold what the table shows.
  setWindowTitle(edited ? QStringLiteral("Tabulka měření (neuloženo - Použít)")
                        : QStringLiteral("Tabulka měření"));
}

void Ttabulkamereni::showRows() {
  filling_ = true;
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
    const orv::TableReading& r = rows_[i];
    table_->setItem(i, AbHalf, numberItem(orv::shortestText(r.abHalf)));
    table_->setItem(i, MnHalf, numberItem(orv::shortestText(r.mnHalf)));
    table_->setItem(i, Rho, numberItem(orv::shortestText(r.rho)));
    table_->setItem(i, Branch, numberItem(std::to_string(r.branch)));
    auto* used = new QTableWidgetItem();
    used->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    used->setCheckState(r.used ? Qt::Checked : Qt::Unchecked);
    table_->setItem(i, Used, used);
  }
  filling_ = false;
}

void Ttabulkamereni::reload() {
  loaded_ = orv::readingsTableRows(session_.s);
  rows_ = loaded_;
  setEdited(false);
  showRows();
}

void Ttabulkamereni::refreshIfUnedited() {
  if (edited_) return;
  if (sameReadings(orv::readingsTableRows(session_.s), loaded_)) return;
  reload();
}

void Ttabulkamereni::itemChanged(QTableWidgetItem* item) {
  if (filling_) return;
  const int row = item->row();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  orv::TableReading& r = rows_[row];
  bool taken = true;
  if (item->column() == Used) {
    r.used = item->checkState() == Qt::Checked;
  } else {
    const orv::ReadingColumn column = item->column() == AbHalf   ? orv::ReadingColumn::AbHalf
                                      : item->column() == MnHalf ? orv::ReadingColumn::MnHalf
                                      : item->column() == Rho    ? orv::ReadingColumn::Rho
                                                                 : orv::ReadingColumn::Branch;
    taken = orv::setReadingCell(session_.dialogs, r, column, item->text().toStdString());
  }
  if (taken) setEdited(true);
  // A refused value shows the old one again; a taken one in the table's form.
  showRows();
}

void Ttabulkamereni::addRow() {
  if (rows_.size() >= static_cast<std::size_t>(orv::MaxReadings)) {
    session_.dialogs.message(orv::cformat("Nejvýše %i měření.", orv::MaxReadings));
    return;
  }
  const QList<QTableWidgetItem*> selected = table_->selectedItems();
  const int after =
      selected.isEmpty() ? static_cast<int>(rows_.size()) - 1 : selected.back()->row();
  rows_.insert(rows_.begin() + (after + 1), orv::proposedReading(rows_, after));
  setEdited(true);
  showRows();
  table_->selectRow(after + 1);
}

void Ttabulkamereni::deleteRows() {
  std::set<int> doomed;
  for (const QTableWidgetItem* item : table_->selectedItems()) doomed.insert(item->row());
  if (doomed.empty()) return;
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) rows_.erase(rows_.begin() + *it);
  setEdited(true);
  showRows();
}

bool Ttabulkamereni::apply() {
  if (!orv::applyReadingsTable(session_, rows_)) return false;
  reload();
  if (changed_) changed_();
  return true;
}
