// "Parametry exportu řezů do DXF": the eleven settings of the DXF export.
// The window only moves texts between its edits and the settings; however it
// is closed, the edits are taken over.
#pragma once

#include <QDialog>

#include "commands/section/dxf_dialog_fields.h"
#include "core/section/dxf_settings.h"

class QLineEdit;
class QPushButton;

class TparUCM : public QDialog {
  Q_OBJECT

 public:
  explicit TparUCM(QWidget* parent = nullptr);

  // Shows the dialog modally for settings and takes the edits over into it;
  // an edit that is not a number is told through dialogs.
  void execute(orv::DxfSettings& settings, ui::Dialogs& dialogs);
  QLineEdit* edit(const char* objectName) const;

 public slots:
  void FormShow();
  void ButtonOKClick();
  void Button1Click();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void showTexts(const orv::DxfEditTexts& t);
  orv::DxfEditTexts texts() const;

  orv::DxfSettings* settings_ = nullptr;
};
