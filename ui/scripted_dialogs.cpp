#include "ui/scripted_dialogs.h"

namespace ui {

std::optional<std::string> ScriptedDialogs::next(const std::string& question) {
  questions_.push_back(question);
  if (answers_.empty()) {
    unexpected_.push_back(question);
    return std::nullopt;
  }
  std::optional<std::string> a = std::move(answers_.front());
  answers_.pop_front();
  return a;
}

void ScriptedDialogs::message(std::string_view text) {
  messages_.emplace_back(text);
}

Answer ScriptedDialogs::ask(std::string_view text, bool withCancel) {
  const std::string question = "ask|" + std::string(text);
  const std::optional<std::string> a = next(question);
  if (a == "Ano") return Answer::Yes;
  if (a == "Ne") return Answer::No;
  if (a && *a != "Storno") unexpected_.push_back(question + "|" + *a);
  return withCancel ? Answer::Cancel : Answer::No;
}

std::optional<std::string> ScriptedDialogs::inputQuery(std::string_view caption,
                                                       std::string_view prompt,
                                                       std::string_view defaultText) {
  return next(std::string(caption) + "|" + std::string(prompt) + "|" + std::string(defaultText));
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogRequest& request) {
  return next("open|" + request.title + "|" + request.presetName);
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
  return next("save|" + request.title + "|" + request.presetName);
}

std::optional<Colour> ScriptedDialogs::chooseColour(Colour initial) {
  questions_.push_back("colour|" + std::to_string(initial));
  if (colours_.empty()) {
    unexpected_.push_back("colour");
    return std::nullopt;
  }
  std::optional<Colour> c = colours_.front();
  colours_.pop_front();
  return c;
}

std::optional<FontChoice> ScriptedDialogs::chooseFont(const FontChoice& initial) {
  questions_.push_back("font|" + initial.family);
  return std::nullopt;
}

bool ScriptedDialogs::printerSetup() {
  questions_.push_back("printer");
  return false;
}

void ScriptedDialogs::report(std::string_view title, std::string_view text) {
  reports_.push_back(std::string(title) + "|" + std::string(text));
}

namespace {

// Counts its steps into the dialogs' record and says "stop" at the k-th.
class ScriptedProgress : public Progress {
 public:
  ScriptedProgress(int& steps, int stopAt) : steps_(steps), stopAt_(stopAt) {}
  bool step(int, int) override {
    ++steps_;
    ++mine_;
    return stopAt_ <= 0 || mine_ < stopAt_;
  }

 private:
  int& steps_;
  int stopAt_;
  int mine_ = 0;
};

}  // namespace

std::unique_ptr<Progress> ScriptedDialogs::progress(std::string_view title) {
  progressTitles_.emplace_back(title);
  return std::make_unique<ScriptedProgress>(progressSteps_, stopAt_);
}

}  // namespace ui
