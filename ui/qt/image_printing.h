// Printing a window's picture: the image scaled into the printer's page,
// keeping its aspect ratio, as Qt's image viewer examples print.
#pragma once

class QImage;
class QPrinter;

namespace ui {

// Prints image on one page of printer. False when the printer cannot start.
bool printImage(QPrinter& printer, const QImage& image);

}  // namespace ui
