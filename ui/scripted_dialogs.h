// Dialogs that answer from a script and record every question and message, so
// that a test reads like the user's road: "answer 'ves.kmt', expect the
// message 'záznam nenačten'".
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace ui {

class ScriptedDialogs : public Dialogs {
 public:
  // Answers are consumed in order by whichever dialog asks next; nullopt
  // stands for "Cancel". A dialog that finds no answer queued is cancelled
  // and the fact is recorded in unexpected(). A question (ask) takes "Ano",
  // "Ne" or "Storno" from the same queue; a cancel stands for closing the box.
  void answer(std::string text) { answers_.emplace_back(std::move(text)); }
  void cancel() { answers_.emplace_back(std::nullopt); }
  void answerColour(Colour c) { colours_.emplace_back(c); }
  void cancelColour() { colours_.emplace_back(std::nullopt); }

  // Every progress asked for from now on says "stop" at its k-th step
  // (1-based); 0: never.
  void stopProgressAt(int k) { stopAt_ = k; }

  const std::vector<std::string>& messages() const { return messages_; }
  // Texts shown by report(), "title|text".
  const std::vector<std::string>& reports() const { return reports_; }
  // The titles of the progress dialogs asked for, and the steps reported to
  // all of them.
  const std::vector<std::string>& progressTitles() const { return progressTitles_; }
  int progressSteps() const { return progressSteps_; }
  // Every question asked: "caption|prompt|default" for input boxes,
  // "open|title|preset" and "save|title|preset" for file dialogs, "ask|text"
  // for questions.
  const std::vector<std::string>& questions() const { return questions_; }
  const std::vector<std::string>& unexpected() const { return unexpected_; }
  std::size_t pendingAnswers() const { return answers_.size(); }
  void clearRecords() {
    messages_.clear();
    reports_.clear();
    progressTitles_.clear();
    progressSteps_ = 0;
    questions_.clear();
    unexpected_.clear();
  }

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

 private:
  std::optional<std::string> next(const std::string& question);

  std::deque<std::optional<std::string>> answers_;
  std::deque<std::optional<Colour>> colours_;
  std::vector<std::string> messages_;
  std::vector<std::string> reports_;
  std::vector<std::string> progressTitles_;
  int progressSteps_ = 0;
  int stopAt_ = 0;
  std::vector<std::string> questions_;
  std::vector<std::string> unexpected_;
};

}  // namespace ui
