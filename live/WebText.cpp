#include "live/WebText.h"

#include "text/Cp932.h"

#include <cstdint>

namespace tabry::live {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at `pos` and its length; a malformed, overlong or surrogate
// sequence reads as one byte of U+FFFD, so the walk always moves on.
char32_t NextCodePoint(std::string_view s, size_t pos, size_t& length)
{
    const auto b = [&](size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const unsigned char lead = b(0);
    length = 1;
    if (lead < 0x80)
        return lead;
    size_t need = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return kReplacement;
    }
    if (pos + need >= s.size())
        return kReplacement;
    for (size_t i = 1; i <= need; ++i) {
        if ((b(i) & 0xC0) != 0x80)
            return kReplacement;
        cp = (cp << 6) | (b(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kReplacement;
    length = need + 1;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
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
                AppendUtf8(out, kReplacement);
            else if (cp == kReplacement)
                AppendUtf8(out, cp);
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
                AppendUtf8(out, cp);
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
