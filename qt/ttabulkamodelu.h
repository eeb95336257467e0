// "Tabulka modelu": the layered model of the curve window as a table beside
// it, one row per layer (resistivity, thickness, depth, a fix mark for each).
// Not modal: it follows every change of the model, and every value typed or
// mark ticked is one operation of the command layer.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "commands/curve/curve_session.h"
#include "commands/curve/model_table.h"

class QLabel;
class QTableWidget;
class QTableWidgetItem;

class Ttabulkamodelu : public QDialog {
  Q_OBJECT
 public:
  // changed runs after every edit made here (the curve window commits the
  // step and brings its tables up to date).
  Ttabulkamodelu(QWidget* parent, orv::CurveSession& session, std::function<void()> changed);

  // Shows the model as the state holds it now (only what differs is
  // rewritten, so that a drag on the chart costs little).
  void refresh();
  QTableWidget* table() const { return table_; }

 private slots:
  void itemChanged(QTableWidgetItem* item);
  void insertLayer();
  void deleteLayer();

 private:
  int selectedLayer() const;

  orv::CurveSession& session_;
  std::function<void()> changed_;
  QTableWidget* table_;
  QLabel* misfit_;
  std::vector<orv::ModelTableRow> shown_;
  bool shownOnce_ = false;
  bool filling_ = false;
};
