#pragma once
// The pictures of the program in the README, taken from the running
// program on any platform plugin (the offscreen one included): the main
// window with the open tournament, the same window with the result editor
// open over a round cell, and the live-pages window while serving.

#include <QString>

namespace tabry::app {

class CTabryApp;

// Writes "main-window.png", "result-popup.png" and "live-window.png" into
// `directory`. The
// tournament is left unchanged. False, with the reason, when a picture
// could not be written.
bool WriteScreenshots(CTabryApp& app, const QString& directory, QString* error);

} // namespace tabry::app
