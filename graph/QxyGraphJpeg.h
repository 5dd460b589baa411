#pragma once

#include <QImage>
#include <QString>

// Encodes image as a colour baseline JPEG through libjpeg and writes it to
// fname. Raises EQuentaError naming the file when it cannot be written.
void WriteJpegFile(const QImage &image, const QString &fname, int quality);
