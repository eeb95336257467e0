// The welcome window's picture: a sounding curve and its model, drawn by the
// program's own chart.
#pragma once

#include <QImage>

QImage drawWelcomePicture(int width, int height);
