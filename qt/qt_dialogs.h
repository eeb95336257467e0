// The standard dialogs of the desktop, through Qt's own (non-native) dialogs
// so that they behave the same on every platform and offscreen.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string_view>

#include "ui/dialogs.h"

class QPrinter;
class QWidget;

namespace ui {

// "caption|pattern|caption|pattern" (patterns separated by ';') as Qt name
// filters "caption (pattern pattern)". Every pattern also appears in lower and
// upper case, because instrument files come named "*.KMT" as often as
// "*.kmt" and Linux file names are case-sensitive; "*.*" becomes "*", which
// on the desktop matched names without an extension too.
QStringList qtNameFilters(std::string_view filter);

// The title of message boxes: the application's display name.
QString messageTitle();

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent);
  ~QtDialogs() override;

  void message(std::string_view text) override;
  Answer ask(std::string_view text, bool withCancel) override;
  std::optional<std::string> inputQuery(std::string_view caption, std::string_view prompt,
                                        std::string_view defaultText) override;
  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
  std::optional<Colour> chooseColour(Colour initial) override;
  std::optional<FontChoice> chooseFont(const FontChoice& initial) override;
  bool printerSetup() override;
  void report(std::string_view title, std::string_view text) override;
  std::unique_ptr<Progress> progress(std::string_view title) override;

  // The printer the set-up dialog configures; printing uses the same one so
  // that the user's choice holds.
  QPrinter& printer();

 private:
  std::optional<std::string> fileDialog(const FileDialogRequest& request, bool save);

  QWidget* parent_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace ui
