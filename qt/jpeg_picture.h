// The windows' pictures as JPEG files.
#pragma once

#include <string>

class QImage;

namespace ui {

class Dialogs;

// The message of a JPEG file that cannot be written; the path follows it.
inline constexpr const char* JpegNotWrittenMessage = "Nemožno vytvořit zvolený soubor ";

// Space left around the drawing of a cropped picture, pixels.
inline constexpr int PictureMargin = 10;

// The part of image that holds a drawing: the smallest rectangle around
// every pixel that is not white, widened by margin on each side as far as
// the image reaches. A picture drawn into the corner of a large bitmap thus
// leaves without its empty paper; a blank image stays as it is.
QImage drawnPart(const QImage& image, int margin);

// Writes image to path (UTF-8) as JPEG at the encoder's default quality,
// replacing an existing file without asking. A failure is told in a message
// naming the file and leaves the picture as it was. True when written.
bool writeJpegPicture(const QImage& image, const std::string& path, Dialogs& dialogs);

}  // namespace ui
