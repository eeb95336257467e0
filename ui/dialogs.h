// The standard dialogs the commands use to talk to the user. Texts are UTF-8.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/canvas.h"
#include "ui/progress.h"

namespace ui {

struct FileDialogRequest {
  std::string title;
  std::string filter;            // "KMT soubory (*.kmt)|*.kmt|..." pairs of caption and pattern
  std::string defaultExtension;  // without the dot
  std::string presetName;        // proposed file name, may include a folder
};

// The user's answer to a question.
enum class Answer { Yes, No, Cancel };

struct FontChoice {
  std::string family;
  int points = 0;
  bool bold = false;
  bool italic = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal message box with an OK button.
  virtual void message(std::string_view text) = 0;
  // A modal question with the buttons "Ano" and "Ne", and "Storno" when
  // withCancel. Closing the box is "Storno", or "Ne" without it.
  virtual Answer ask(std::string_view text, bool withCancel) = 0;
  // A one-line input box; nullopt when the user cancels.
  virtual std::optional<std::string> inputQuery(std::string_view caption, std::string_view prompt,
                                                std::string_view defaultText) = 0;
  virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
  virtual std::optional<Colour> chooseColour(Colour initial) = 0;
  virtual std::optional<FontChoice> chooseFont(const FontChoice& initial) = 0;
  virtual bool printerSetup() = 0;
  // A longer text to read (a table of numbers), shown in a fixed-width font
  // with an OK button.
  virtual void report(std::string_view title, std::string_view text) = 0;
  // The progress of long work titled `title`; the dialog shows itself only
  // when the work lasts, and closes when the object is destroyed.
  virtual std::unique_ptr<Progress> progress(std::string_view title) = 0;
};

}  // namespace ui
