#pragma once
// Pictures the program writes (icons for the desktop, its own screenshots),
// written atomically like every other file.

#include <QImage>
#include <QString>

namespace tabry::app {

// Encodes `image` as PNG and writes it to `path` through a temporary file,
// creating the folder; false when that failed.
bool WritePngFile(const QString& path, const QImage& image);

} // namespace tabry::app
