#pragma once
// The Japanese of a failed read or save, from the reason the file layer
// gives (text/FileIo.h), in one place for every window of the program.

#include "text/FileIo.h"

#include <QString>

namespace tabry::ui {

// Why it failed, as one or two sentences ("書き込みが許可されていません。").
QString FileProblemText(const FileError& error);

} // namespace tabry::ui
