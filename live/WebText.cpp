#include "live/WebText.h"

#include "text/Cp932.h"

namespace tabry::live {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at `pos` and its length, as the text layer decodes UTF-8
// (a malformed sequence is one byte of U+FFFD).
char32_t NextCodePoint(std::string_view s, size_t pos, size_t& length)
{
    size_t next = pos;
    bool ok = true;
    const char32_t cp = cp932::NextUtf8(s, next, ok);
    length = next - pos;
    return cp;
}

void AppendHexEscape(std::string& out, unsigned value)
{
    static const char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(value >> shift) & 0xF];
}

} // namespace

void AppendHtml(std::string& out, std::string_view utf8)
{
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 1;
        const char32_t cp = NextCodePoint(utf8, pos, length);
        switch (cp) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            if ((cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || cp == 0x7F)
                cp932::AppendUtf8(out, kReplacement);
            else if (cp == kReplacement)
                cp932::AppendUtf8(out, cp);
            else
                out.append(utf8.substr(pos, length));
        }
        pos += length;
    }
}

std::string HtmlText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    AppendHtml(out, utf8);
    return out;
}

void AppendJsonString(std::string& out, std::string_view utf8)
{
    out += '"';
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 1;
        const char32_t cp = NextCodePoint(utf8, pos, length);
        switch (cp) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (cp < 0x20 || cp == '<' || cp == '>' || cp == '&' || cp == 0x2028 || cp == 0x2029)
                AppendHexEscape(out, static_cast<unsigned>(cp));
            else if (cp == kReplacement)
                cp932::AppendUtf8(out, cp);
            else
                out.append(utf8.substr(pos, length));
        }
        pos += length;
    }
    out += '"';
}

std::string Utf8(std::string_view sjis)
{
    return cp932::ToUtf8(sjis);
}

} // namespace tabry::live
