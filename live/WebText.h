#pragma once
// Escaping for the live pages. Every text that comes from the tournament
// (names, residences, the tournament's name) reaches a page only through
// these functions, so a name such as <b>"A&B"</b> shows as written and can
// never become markup or break out of a JSON string. The input is UTF-8 of
// any quality: malformed sequences become U+FFFD.

#include <string>
#include <string_view>

namespace tabry::live {

// Text for an element or a double- or single-quoted attribute value:
// & < > " ' become character references; C0 controls other than tab, LF and
// CR, and DEL, become U+FFFD.
void AppendHtml(std::string& out, std::string_view utf8);
std::string HtmlText(std::string_view utf8);

// A JSON string literal, quotes included. Besides what JSON requires, < > &
// and U+2028/U+2029 are written as \u escapes, so the text is also safe
// inside a script element.
void AppendJsonString(std::string& out, std::string_view utf8);

// Shift_JIS tournament text to UTF-8 (the code page 932 seam).
std::string Utf8(std::string_view sjis);

} // namespace tabry::live
