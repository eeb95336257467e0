// Printing with the PDF fallback and JPEG pictures, shared by both windows:
// where the page goes, what happens on cancel and on files that cannot be
// written, and that the picture survives the trip.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <string>

#include "ui/qt/image_printing.h"
#include "ui/qt/jpeg_picture.h"
#include "ui/scripted_dialogs.h"

namespace {

std::string pathIn(const QTemporaryDir& dir, const char* name) {
  return dir.filePath(QString::fromUtf8(name)).toStdString();
}

QByteArray head(const std::string& path, int n) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.read(n);
}

// A picture with something to find on it: white with a black frame and a red
// square.
QImage samplePicture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::black);
  p.drawRect(10, 10, w - 21, h - 21);
  p.fillRect(w / 4, h / 4, w / 4, h / 4, Qt::red);
  return image;
}

TEST(PrintImageOrPdfTest, WithoutAPrinterAsksForAPdfFileEveryTime) {
  QTemporaryDir dir;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  ui::ScriptedDialogs dialogs;
  const std::string first = pathIn(dir, "první.pdf");
  const std::string second = pathIn(dir, "druhý.pdf");
  dialogs.answer(first);
  dialogs.answer(second);
  EXPECT_TRUE(ui::printImageOrPdf(printer, samplePicture(300, 200), dialogs));
  EXPECT_TRUE(ui::printImageOrPdf(printer, samplePicture(300, 200), dialogs));
  EXPECT_EQ("%PDF-", head(first, 5));
  EXPECT_EQ("%PDF-", head(second, 5));
  ASSERT_EQ(2u, dialogs.questions().size());
  EXPECT_EQ(0u, dialogs.questions()[1].rfind("save|", 0));
  EXPECT_TRUE(dialogs.messages().empty());
  // The chosen file held for its own print only.
  EXPECT_TRUE(printer.outputFileName().isEmpty());
  EXPECT_EQ(ui::PrintTarget::AskForPdfFile, ui::printTargetOf(printer));
}

TEST(PrintImageOrPdfTest, ACancelledPdfDialogPrintsNothingAndSaysNothing) {
  QTemporaryDir dir;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  ui::ScriptedDialogs dialogs;
  dialogs.cancel();
  dialogs.answer("");
  EXPECT_FALSE(ui::printImageOrPdf(printer, samplePicture(300, 200), dialogs));
  EXPECT_FALSE(ui::printImageOrPdf(printer, samplePicture(300, 200), dialogs));
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(PrintImageOrPdfTest, APrinterPointedAtAPdfFilePrintsThereWithoutAsking) {
  QTemporaryDir dir;
  const std::string path = pathIn(dir, "nastaveno.pdf");
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  ui::ScriptedDialogs dialogs;
  EXPECT_TRUE(ui::printImageOrPdf(printer, samplePicture(300, 200), dialogs));
  EXPECT_TRUE(dialogs.questions().empty());
  EXPECT_EQ("%PDF-", head(path, 5));
  EXPECT_EQ(QString::fromStdString(path), printer.outputFileName());
}

TEST(PrintImageOrPdfTest, AFileThatCannotBeWrittenIsToldAndNamed) {
  QTemporaryDir dir;
  const std::string asked = pathIn(dir, "chybí/tisk.pdf");
  const std::string preset = pathIn(dir, "také-chybí/tisk.pdf");
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  ui::ScriptedDialogs dialogs;
  dialogs.answer(asked);
  EXPECT_FALSE(ui::printImageOrPdf(printer, samplePicture(300, 200), dialogs));
  printer.setOutputFileName(QString::fromStdString(preset));
  EXPECT_FALSE(ui::printImageOrPdf(printer, samplePicture(300, 200), dialogs));
  EXPECT_FALSE(ui::printImageOrPdf(printer, QImage(), dialogs));
  ASSERT_EQ(3u, dialogs.messages().size());
  EXPECT_NE(std::string::npos, dialogs.messages()[0].find(asked));
  EXPECT_NE(std::string::npos, dialogs.messages()[1].find(preset));
  EXPECT_EQ(1u, dialogs.questions().size()) << "an empty picture asks for no file";
}

TEST(JpegPictureTest, ReplacesAnExistingFileWithThePicture) {
  QTemporaryDir dir;
  const std::string path = pathIn(dir, "obrázek.jpg");
  {
    QFile old(QString::fromStdString(path));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
  }
  const QImage picture = samplePicture(320, 240);
  ui::ScriptedDialogs dialogs;
  ASSERT_TRUE(ui::writeJpegPicture(picture, path, dialogs));
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(QByteArray("\xFF\xD8\xFF", 3), head(path, 3));
  const QImage back(QString::fromStdString(path));
  ASSERT_EQ(picture.size(), back.size());
  const QRgb red = back.pixel(320 * 3 / 8, 240 * 3 / 8);
  EXPECT_GT(qRed(red), 200);
  EXPECT_LT(qGreen(red), 60);
}

TEST(JpegPictureTest, AFileThatCannotBeWrittenIsToldWithItsName) {
  QTemporaryDir dir;
  const std::string missingFolder = pathIn(dir, "není/obrázek.jpg");
  ui::ScriptedDialogs dialogs;
  EXPECT_FALSE(ui::writeJpegPicture(samplePicture(50, 50), missingFolder, dialogs));
  EXPECT_FALSE(ui::writeJpegPicture(samplePicture(50, 50), "", dialogs));
  EXPECT_FALSE(ui::writeJpegPicture(QImage(), pathIn(dir, "prázdný.jpg"), dialogs));
  ASSERT_EQ(3u, dialogs.messages().size());
  EXPECT_EQ(std::string(ui::JpegNotWrittenMessage) + missingFolder, dialogs.messages()[0]);
  EXPECT_EQ(std::string(ui::JpegNotWrittenMessage), dialogs.messages()[1]);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pathIn(dir, "prázdný.jpg"))));
}

}  // namespace
