#include "qt/image_printing.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <optional>
#include <string>

#include "ui/dialogs.h"

namespace ui {
namespace {

std::string utf8(const QString& s) {
  const QByteArray bytes = s.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

bool printImage(QPrinter& printer, const QImage& image) {
  if (image.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  QSize size = image.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), size.width(), size.height());
  painter.setWindow(image.rect());
  painter.drawImage(0, 0, image);
  return painter.end();
}

PrintTarget printTargetOf(const QPrinter& printer) {
  // Qt falls back to its PDF engine by itself when the system has no printer
  // at all; without a file name that engine would have nowhere to write.
  if (printer.outputFormat() == QPrinter::PdfFormat)
    return printer.outputFileName().isEmpty() ? PrintTarget::AskForPdfFile : PrintTarget::PdfFile;
  return printer.printerName().isEmpty() ? PrintTarget::AskForPdfFile : PrintTarget::Printer;
}

bool printImageOrPdf(QPrinter& printer, const QImage& image, Dialogs& dialogs) {
  if (image.isNull()) {
    dialogs.message("Není co tisknout: obrázek je prázdný.");
    return false;
  }
  const PrintTarget target = printTargetOf(printer);
  if (target == PrintTarget::Printer) {
    if (printImage(printer, image)) return true;
    dialogs.message("Tisk na tiskárnu " + utf8(printer.printerName()) + " se nezdařil!");
    return false;
  }
  if (target == PrintTarget::PdfFile) {
    if (printImage(printer, image)) return true;
    dialogs.message("Tisk se nezdařil, nemožno vytvořit soubor " + utf8(printer.outputFileName()));
    return false;
  }

  FileDialogRequest request;
  request.title = "Tisk do souboru PDF (není nastavena žádná tiskárna)";
  request.filter = "soubory PDF|*.pdf";
  request.defaultExtension = "pdf";
  const std::optional<std::string> path = dialogs.saveFile(request);
  if (!path || path->empty()) return false;
  const QPrinter::OutputFormat format = printer.outputFormat();
  const QString fileName = printer.outputFileName();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromUtf8(path->data(), static_cast<qsizetype>(path->size())));
  const bool printed = printImage(printer, image);
  printer.setOutputFileName(fileName);
  printer.setOutputFormat(format);
  if (!printed) dialogs.message("Tisk se nezdařil, nemožno vytvořit soubor " + *path);
  return printed;
}

}  // namespace ui
