#include "qt/jpeg_picture.h"

#include <QImage>
#include <QImageWriter>

#include "ui/dialogs.h"

namespace ui {

bool writeJpegPicture(const QImage& image, const std::string& path, Dialogs& dialogs) {
  QImageWriter writer(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), "jpeg");
  if (!path.empty() && !image.isNull() && writer.write(image)) return true;
  dialogs.message(JpegNotWrittenMessage + path);
  return false;
}

}  // namespace ui
