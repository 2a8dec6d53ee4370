#pragma once
// The one seam between the Shift_JIS bytes of the data side and Qt's strings.

#include <QString>

#include <string>
#include <string_view>

namespace tabry::ui {

// Shift_JIS bytes to a QString (undefined codes show as U+FFFD).
QString ToQString(std::string_view sjis);
// A QString to Shift_JIS bytes; characters without a code become '?'.
std::string ToSjis(const QString& text);
// True when every character of `text` has a code page 932 code.
bool IsSjisEncodable(const QString& text);

} // namespace tabry::ui
