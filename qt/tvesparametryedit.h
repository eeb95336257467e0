// "Parametry bodu VES": the texts and the position of a sounding point. The
// window only moves texts between its edits and the point dialog logic of
// commands/section/point_parameters; it has no cancel, and its callers store the
// fields however it was closed.
#pragma once

#include <QDialog>

#include "commands/section/point_parameters.h"
#include "commands/section/section_session.h"

class QLineEdit;
class QPushButton;

class TVESparametryEdit : public QDialog {
  Q_OBJECT

 public:
  explicit TVESparametryEdit(orv::SectionSession& session, QWidget* parent = nullptr);

  // The thirteen fields as they stand.
  orv::PointFields fields() const;
  QLineEdit* positionEdit(orv::PositionField which) const;
  QPushButton* okButton() const { return bOK_; }

 public slots:
  void eMetrazPovrchExit();
  void eXExit();
  void eYExit();
  void eZExit();
  void eMetrazExit();
  void OKClick();
  void PuvodnihodnotyClick();
  void FormActivate();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QLineEdit* addTextField(class QFormLayout* form, const char* objectName, const QString& label);
  void showFields(const orv::PointFields& f);
  void checkField(orv::PositionField which);
  void focusField(QLineEdit* e);
  const orv::CurveWindowState& curveState() const;

  orv::SectionSession& session_;
  QLineEdit* eZeme_;
  QLineEdit* eKraj_;
  QLineEdit* eLokalita_;
  QLineEdit* eProfil_;
  QLineEdit* eNazev_;
  QLineEdit* eDatum_;
  QLineEdit* ePoznamka_;
  QLineEdit* eOperator_;
  QLineEdit* eMetrazPovrch_;
  QLineEdit* eX_;
  QLineEdit* eY_;
  QLineEdit* eZ_;
  QLineEdit* eMetraz_;
  QPushButton* bPuvodni_;
  QPushButton* bOK_;
  // Typing since the fields were last filled: a re-activation then keeps
  // what the user typed instead of filling the fields again.
  bool userEdited_ = false;
  bool closing_ = false;
};
