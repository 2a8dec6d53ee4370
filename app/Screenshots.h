#pragma once
// The pictures of the program in the README and in the manual, taken from
// the running program on any platform plugin (the offscreen one included),
// with the sample tournament open:
//   main-window.png        the main window, a round cell current
//   result-popup.png       the result editor over that cell, a score and the
//                          first letters of the opponent typed
//   player-popup.png       the player editor over the empty last row, the
//                          first letters of a name typed
//   round-menu.png         the round menu of a selected round column
//   settings-dialog.png    オプション
//   details-dialog.png     ファイルの詳細情報
//   user-edit-dialog.png   ユーザの追加, as for a name nobody has
//   user-db-dialog.png     ユーザDBの編集
//   live-window.png        ライブ公開, serving on this computer
// Regenerate them with tools/make-pictures.sh.

#include <QString>

namespace tabry::app {

class CTabryApp;

// Writes the pictures above into `directory`. The tournament and the player
// database are left unchanged. False, with the reason, when a picture could
// not be taken or written.
bool WriteScreenshots(CTabryApp& app, const QString& directory, QString* error);

} // namespace tabry::app
