#pragma once
// The desktop integration an installed program ships for every user: the
// desktop entry, the ".stg" MIME type and the icons in the hicolor theme,
// written by the build (torva --write-desktop-files) with the same texts
// and the same drawing the per-user registration uses, so the two never
// disagree.

#include <QString>

namespace tabry::app {

// Writes, under `shareDirectory`:
//   applications/torva.desktop            (Exec=torva %f)
//   mime/packages/torva-stg.xml
//   icons/hicolor/NxN/apps/torva.png and
//   icons/hicolor/NxN/mimetypes/application-x-torva-stg.png for N in
//   16 24 32 48 64 128 256.
// False, with the file that could not be written, on failure.
bool WriteDesktopFiles(const QString& shareDirectory, QString* error);

} // namespace tabry::app
