// Printing a window's picture: the image scaled into the printer's page,
// keeping its aspect ratio, as Qt's image viewer examples print.
#pragma once

class QImage;
class QPrinter;

namespace ui {

class Dialogs;

// Prints image on one page of printer. False when the printer cannot start.
bool printImage(QPrinter& printer, const QImage& image);

// Where a print goes: the printer the system offers, the PDF file the user
// already pointed the printer at, or, on a machine without any printer, a
// PDF file still to be asked for.
enum class PrintTarget { Printer, PdfFile, AskForPdfFile };
PrintTarget printTargetOf(const QPrinter& printer);

// "Tisk" of both windows: image on one page of printer, or into a PDF file
// chosen in dialogs' save dialog when there is no printer (the chosen file is
// used for this print only, so the next print asks again). A cancelled dialog
// prints nothing; a printer or file that cannot start is told in a message.
// True when the page was printed.
bool printImageOrPdf(QPrinter& printer, const QImage& image, Dialogs& dialogs);

}  // namespace ui
