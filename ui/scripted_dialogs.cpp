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

}  // namespace ui
