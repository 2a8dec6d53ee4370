#pragma once
// Japanese for the parts of the screen that Qt itself draws: the standard
// buttons of message boxes, the file dialogs, the input dialog.

class QCoreApplication;

namespace tabry::app {

// Loads Qt's own Japanese translations (from Qt's translations folder) into
// the application and makes Japanese the default locale. False when the
// translation files are not installed; the program then still works, with
// Qt's English texts on those buttons.
bool InstallJapaneseTranslations(QCoreApplication& app);

} // namespace tabry::app
