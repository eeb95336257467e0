// "Tabulka měření": the readings of the sounding as an editable table (AB/2,
// MN/2, apparent resistivity, branch, "použít"). The edits stay in the table
// until "Použít" hands them to the command layer, which completes and merges
// them as after reading a file.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "commands/curve/curve_session.h"
#include "commands/curve/readings_table.h"

class QTableWidget;
class QTableWidgetItem;

class Ttabulkamereni : public QDialog {
  Q_OBJECT
 public:
  // changed runs after the readings were applied (the curve window brings
  // its tables up to date).
  Ttabulkamereni(QWidget* parent, orv::CurveSession& session, std::function<void()> changed);

  // Shows the sounding's readings unless edits wait for "Použít" (those are
  // never thrown away behind the user's back).
  void refreshIfUnedited();
  QTableWidget* table() const { return table_; }
  bool edited() const { return edited_; }

 public slots:
  void addRow();
  void deleteRows();
  void reload();
  bool apply();

 private slots:
  void itemChanged(QTableWidgetItem* item);

 private:
  void showRows();
  void setEdited(bool edited);

  orv::CurveSession& session_;
  std::function<void()> changed_;
  QTableWidget* table_;
  std::vector<orv::TableReading> rows_;
  std::vector<orv::TableReading> loaded_;  // the sounding's readings when last shown
  bool edited_ = false;
  bool filling_ = false;
};
