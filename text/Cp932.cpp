#include "text/Cp932.h"

#include <array>
#include <cstdint>

namespace tabry::cp932 {

namespace {

#include "text/Cp932Table.inc"

// Dense tables built once from the committed pair lists.
struct Tables {
    std::array<char32_t, 0x10000> decode{};      // by code; 0 = undefined
    std::array<std::uint16_t, 0x10000> encode{}; // by BMP character; 0 = no code

    Tables()
    {
        for (unsigned c = 0; c < 0x80; ++c) {
            decode[c] = c;
            encode[c] = static_cast<std::uint16_t>(c);
        }
        for (const auto& p : kCp932Decode)
            decode[p[0]] = p[1];
        for (const auto& p : kCp932Encode)
            encode[p[0]] = p[1];
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

} // namespace

void AppendUtf8(std::string& out, char32_t ch)
{
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

char32_t NextUtf8(std::string_view s, size_t& pos, bool& ok)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    ok = true;
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra = 0;
    char32_t ch = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        ch = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        ch = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        ch = b0 & 0x07;
        min = 0x10000;
    } else {
        ++pos;
        ok = false;
        return 0xFFFD;
    }
    if (pos + static_cast<size_t>(extra) >= s.size()) {
        ++pos;
        ok = false;
        return 0xFFFD;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + static_cast<size_t>(i)]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            ok = false;
            return 0xFFFD;
        }
        ch = (ch << 6) | (b & 0x3F);
    }
    if (ch < min || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
        ++pos;
        ok = false;
        return 0xFFFD;
    }
    pos += static_cast<size_t>(extra) + 1;
    return ch;
}

char32_t DecodeCode(unsigned code)
{
    if (code == 0)
        return 0;
    if (code > 0xFFFF)
        return 0;
    return GetTables().decode[code];
}

int EncodeChar(char32_t ch)
{
    if (ch < 0x80)
        return static_cast<int>(ch);
    if (ch > 0xFFFF)
        return -1;
    const std::uint16_t code = GetTables().encode[ch];
    return code == 0 ? -1 : code;
}

int CharLength(std::string_view sjis, size_t pos)
{
    if (pos >= sjis.size())
        return 0;
    if (IsLeadByte(static_cast<unsigned char>(sjis[pos])) && pos + 1 < sjis.size()
        && IsTrailByte(static_cast<unsigned char>(sjis[pos + 1])))
        return 2;
    return 1;
}

std::string FoldFullWidth(std::string_view sjis)
{
    std::string out;
    out.reserve(sjis.size());
    for (size_t pos = 0; pos < sjis.size();) {
        const int length = CharLength(sjis, pos);
        if (length == 2) {
            const unsigned code = static_cast<unsigned>(static_cast<unsigned char>(sjis[pos])) << 8
                                  | static_cast<unsigned char>(sjis[pos + 1]);
            const char32_t ch = DecodeCode(code);
            if (ch >= 0xFF01 && ch <= 0xFF5E) {
                out += static_cast<char>(ch - 0xFF01 + 0x21);
                pos += 2;
                continue;
            }
            if (ch == 0x3000) {
                out += ' ';
                pos += 2;
                continue;
            }
        }
        out.append(sjis.substr(pos, static_cast<size_t>(length)));
        pos += static_cast<size_t>(length);
    }
    return out;
}

size_t WholeCharsLength(std::string_view sjis, size_t maxBytes)
{
    size_t end = 0;
    while (end < sjis.size()) {
        const size_t next = end + static_cast<size_t>(CharLength(sjis, end));
        if (next > maxBytes)
            break;
        end = next;
    }
    return end;
}

std::string ToUtf8(std::string_view sjis)
{
    const Tables& t = GetTables();
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    size_t p = 0;
    while (p < sjis.size()) {
        const auto b = static_cast<unsigned char>(sjis[p]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++p;
            continue;
        }
        if (IsLeadByte(b)) {
            if (p + 1 < sjis.size() && IsTrailByte(static_cast<unsigned char>(sjis[p + 1]))) {
                const char32_t ch = t.decode[(unsigned(b) << 8) | static_cast<unsigned char>(sjis[p + 1])];
                AppendUtf8(out, ch != 0 ? ch : 0xFFFD);
                p += 2;
            } else {
                AppendUtf8(out, 0xFFFD);
                ++p;
            }
            continue;
        }
        const char32_t ch = t.decode[b];
        AppendUtf8(out, ch != 0 ? ch : 0xFFFD);
        ++p;
    }
    return out;
}

std::string FromUtf8(std::string_view utf8, bool* lossless)
{
    std::string out;
    out.reserve(utf8.size());
    bool all = true;
    size_t p = 0;
    while (p < utf8.size()) {
        bool ok = true;
        const char32_t ch = NextUtf8(utf8, p, ok);
        const int code = ok ? EncodeChar(ch) : -1;
        if (code < 0) {
            out += '?';
            all = false;
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    if (lossless != nullptr)
        *lossless = all;
    return out;
}

} // namespace tabry::cp932
