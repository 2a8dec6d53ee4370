#pragma once
// The fonts shipped in the program's "fonts" folder (the Windows release
// carries IPA Gothic there), made known to Qt for this run.

class QString;

namespace tabry::app {

// Adds every .ttf/.otf of `folder` to the application's fonts; returns how
// many were added. A missing folder adds none (Linux uses the system's).
int AddBundledFonts(const QString& folder);

} // namespace tabry::app
