#include "qt/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "qt/qimage_canvas.h"

namespace ui {

namespace {

QString qs(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string utf8Of(const QString& s) {
  return s.toUtf8().toStdString();
}

QString expandedPatterns(const QString& patterns) {
  QStringList out;
  auto add = [&out](const QString& p) {
    if (!p.isEmpty() && !out.contains(p)) out.append(p);
  };
  for (QString p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    p = p.trimmed();
    if (p.isEmpty()) continue;
    for (const QString& word : p.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      if (word == QLatin1String("*.*") || word == QLatin1String("*")) {
        add(QStringLiteral("*"));
        continue;
      }
      add(word);
      add(word.toLower());
      add(word.toUpper());
    }
  }
  if (out.isEmpty()) out.append(QStringLiteral("*"));
  return out.join(QLatin1Char(' '));
}

}  // namespace

QStringList qtNameFilters(std::string_view filter) {
  QStringList result;
  if (filter.empty()) return result;
  const QStringList parts = qs(filter).split(QLatin1Char('|'));
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString caption = parts[i].trimmed();
    const QString patterns = expandedPatterns(i + 1 < parts.size() ? parts[i + 1] : QString());
    // A caption that already names its patterns in parentheses gets them
    // replaced; Qt reads the patterns from the last parentheses anyway.
    const qsizetype open = caption.lastIndexOf(QLatin1Char('('));
    if (caption.endsWith(QLatin1Char(')')) && open >= 0) {
      const QString inner = caption.mid(open + 1, caption.size() - open - 2);
      if (inner.contains(QLatin1Char('*')) || inner.contains(QLatin1Char('?')))
        caption = caption.left(open).trimmed();
    }
    if (caption.isEmpty()) caption = patterns;
    result.append(caption + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return result;
}

QString messageTitle() {
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("orv-ruzUzev") : name;
}

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

QtDialogs::~QtDialogs() = default;

void QtDialogs::message(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, messageTitle(), qs(text), QMessageBox::Ok, parent_);
  box.exec();
}

Answer QtDialogs::ask(std::string_view text, bool withCancel) {
  QMessageBox box(QMessageBox::Question, messageTitle(), qs(text), QMessageBox::NoButton, parent_);
  // Czech captions whatever translations Qt has at hand.
  QPushButton* yes = box.addButton(QStringLiteral("Ano"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("Ne"), QMessageBox::NoRole);
  QPushButton* cancel =
      withCancel ? box.addButton(QStringLiteral("Storno"), QMessageBox::RejectRole) : nullptr;
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel ? cancel : no);
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  if (box.clickedButton() == no || !cancel) return Answer::No;
  return Answer::Cancel;
}

std::optional<std::string> QtDialogs::inputQuery(std::string_view caption, std::string_view prompt,
                                                 std::string_view defaultText) {
  bool ok = false;
  const QString s = QInputDialog::getText(parent_, qs(caption), qs(prompt), QLineEdit::Normal,
                                          qs(defaultText), &ok);
  if (!ok) return std::nullopt;
  return utf8Of(s);
}

std::optional<std::string> QtDialogs::fileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dlg(parent_, qs(request.title));
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Any name is handed over: the commands tell a missing file in their own
  // words and show the dialog again, and decide about existing files
  // themselves (numbered names, appending), so the dialog must not ask.
  dlg.setFileMode(QFileDialog::AnyFile);
  if (save) dlg.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = qtNameFilters(request.filter);
  if (!filters.isEmpty()) dlg.setNameFilters(filters);
  if (!request.defaultExtension.empty()) dlg.setDefaultSuffix(qs(request.defaultExtension));
  const QString preset = qs(request.presetName);
  QString folder = QDir::currentPath();
  QString name;
  if (!preset.isEmpty()) {
    const QFileInfo fi(preset);
    if (preset.contains(QLatin1Char('/')) || preset.contains(QDir::separator()))
      folder = fi.absolutePath();
    name = fi.fileName();
  }
  dlg.setDirectory(folder);
  if (!name.isEmpty()) dlg.selectFile(name);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dlg.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return utf8Of(QDir::toNativeSeparators(files.first()));
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request) {
  return fileDialog(request, false);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request) {
  return fileDialog(request, true);
}

std::optional<Colour> QtDialogs::chooseColour(Colour initial) {
  const QColor start = QColor::fromRgb(rgbOfColour(initial) | 0xFF000000u);
  const QColor c =
      QColorDialog::getColor(start, parent_, QString(), QColorDialog::DontUseNativeDialog);
  if (!c.isValid()) return std::nullopt;
  return colourOfRgb(c.rgb() & 0xFFFFFFu);
}

std::optional<FontChoice> QtDialogs::chooseFont(const FontChoice& initial) {
  QFont start = QApplication::font();
  if (!initial.family.empty()) start.setFamily(qs(initial.family));
  if (initial.points > 0) start.setPointSize(initial.points);
  start.setBold(initial.bold);
  start.setItalic(initial.italic);
  bool ok = false;
  const QFont f =
      QFontDialog::getFont(&ok, start, parent_, QString(), QFontDialog::DontUseNativeDialog);
  if (!ok) return std::nullopt;
  FontChoice choice;
  choice.family = utf8Of(f.family());
  choice.points = f.pointSize() > 0 ? f.pointSize() : initial.points;
  choice.bold = f.bold();
  choice.italic = f.italic();
  return choice;
}

QPrinter& QtDialogs::printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool QtDialogs::printerSetup() {
  QPrintDialog dlg(&printer(), parent_);
  return dlg.exec() == QDialog::Accepted;
}

void QtDialogs::report(std::string_view title, std::string_view text) {
  QDialog dlg(parent_);
  dlg.setWindowTitle(qs(title));
  auto* view = new QPlainTextEdit(qs(text), &dlg);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Columns of numbers line up only in a fixed-pitch font.
  QFont fixed(QStringLiteral("monospace"));
  fixed.setStyleHint(QFont::TypeWriter);
  fixed.setFixedPitch(true);
  view->setFont(fixed);
  view->setObjectName(QStringLiteral("reportText"));
  // As wide as the longest line and as tall as the text, within the screen.
  const QFontMetrics metrics(view->font());
  int width = 0;
  const QStringList lines = view->toPlainText().split(QLatin1Char('\n'));
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  view->setMinimumSize(std::min(width + 40, 1200),
                       std::min(static_cast<int>(lines.size() + 2) * metrics.lineSpacing(), 700));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(view);
  layout->addWidget(buttons);
  dlg.exec();
}

namespace {

// A modal progress dialog with "Storno" that appears once the work has
// lasted half a second; each step lets the window system paint and take the
// click on "Storno". Modal to the whole application, so that no other
// command starts while this one waits between its steps.
class QtProgress : public Progress {
 public:
  QtProgress(QWidget* parent, const QString& title) : parent_(parent), title_(title) {}
  bool step(int done, int total) override {
    // The dialog is made at the first step, not before: a command may still
    // ask its questions between taking the progress and starting the work,
    // and a dialog already on its way would cover them.
    if (!dialog_) {
      dialog_ = std::make_unique<QProgressDialog>(title_, QStringLiteral("Storno"), 0, 0, parent_);
      dialog_->setWindowTitle(messageTitle());
      dialog_->setWindowModality(Qt::ApplicationModal);
      dialog_->setMinimumDuration(500);
      dialog_->setAutoClose(false);
      dialog_->setAutoReset(false);
      dialog_->setValue(0);
    }
    if (dialog_->maximum() != total) dialog_->setMaximum(total > 0 ? total : 0);
    // A modal dialog's setValue processes events itself; before it shows,
    // the events are processed here so that the window stays painted.
    dialog_->setValue(total > 0 ? std::min(done, total) : 0);
    QCoreApplication::processEvents();
    const bool goOn = !dialog_->wasCanceled();
    // The last step closes it, so that what the command shows next (a report,
    // a message) is not covered while the progress object still lives.
    if (total > 0 && done >= total) dialog_.reset();
    return goOn;
  }

 private:
  QWidget* parent_;
  QString title_;
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace

std::unique_ptr<Progress> QtDialogs::progress(std::string_view title) {
  return std::make_unique<QtProgress>(parent_, qs(title));
}

}  // namespace ui
