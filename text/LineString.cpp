#include "text/LineString.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace tabry {

namespace {

const CLineString kEmptyLine;

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

void CLineString::Assign(const char* bytes, int length)
{
    if (bytes == nullptr || length == 0) {
        m_bytes.clear();
        return;
    }
    if (length < 0)
        m_bytes.assign(bytes);
    else
        m_bytes.assign(bytes, static_cast<size_t>(length));
}

char CLineString::CharAt(int position) const
{
    if (position < 0 || position >= Length())
        return 0;
    return m_bytes[static_cast<size_t>(position)];
}

std::string_view CLineString::Text() const
{
    return std::string_view(m_bytes.c_str());
}

bool CLineString::Equals(std::string_view text) const
{
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    return Text() == text;
}

int CLineString::Split(CFieldList& list, char delimiter, int maxCount) const
{
    list.Clear();
    const std::string_view s = Text();
    size_t p = 0;
    while (p < s.size()) {
        if (maxCount > 1 && list.Count() == maxCount - 1) {
            list.Append(s.substr(p));
            break;
        }
        size_t q = s.find(delimiter, p);
        if (q == std::string_view::npos)
            q = s.size();
        list.Append(s.substr(p, q - p));
        p = q < s.size() ? q + 1 : q;
    }
    return list.Count();
}

int CLineString::SplitWhite(CFieldList& list, int maxCount) const
{
    list.Clear();
    const std::string_view s = Text();
    size_t p = 0;
    for (;;) {
        while (p < s.size() && IsWhite(s[p]))
            ++p;
        if (p >= s.size())
            break;
        if (maxCount > 1 && list.Count() == maxCount - 1) {
            list.Append(s.substr(p));
            break;
        }
        size_t q = p;
        while (q < s.size() && !IsWhite(s[q]))
            ++q;
        list.Append(s.substr(p, q - p));
        p = q;
    }
    return list.Count();
}

int CFieldList::Append(const char* bytes, int length)
{
    m_items.emplace_back().Assign(bytes, length);
    return Count();
}

int CFieldList::Append(std::string_view bytes)
{
    m_items.emplace_back(bytes);
    return Count();
}

const CLineString& CFieldList::Get(int index) const
{
    if (index < 0 || index >= Count())
        return kEmptyLine;
    return m_items[static_cast<size_t>(index)];
}

int CFieldList::Find(std::string_view text) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[static_cast<size_t>(i)].Equals(text))
            return i;
    return -1;
}

void CFieldList::Clear()
{
    m_items.clear();
    m_items.shrink_to_fit();
}

void TrimSpaces(std::string& text)
{
    const auto nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    size_t b = 0;
    while (b < text.size() && IsWhite(text[b]))
        ++b;
    size_t e = text.size();
    while (e > b && IsWhite(text[e - 1]))
        --e;
    text = text.substr(b, e - b);
}

std::string_view TrimCSpace(std::string_view text)
{
    while (!text.empty() && IsCSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsCSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

int ParseDecimal(std::string_view text)
{
    size_t p = 0;
    while (p < text.size() && IsCSpace(text[p]))
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    long long value = 0;
    for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p) {
        value = value * 10 + (text[p] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // saturate, keep scanning
    }
    if (negative)
        return value > INT_MAX ? INT_MIN : -static_cast<int>(value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::vector<std::string_view> SplitLines(std::string_view data)
{
    std::vector<std::string_view> lines;
    size_t p = 0;
    while (p < data.size()) {
        size_t q = data.find('\n', p);
        const bool hasEnd = q != std::string_view::npos;
        if (!hasEnd)
            q = data.size();
        std::string_view line = data.substr(p, q - p);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const auto nul = line.find('\0');
        if (nul != std::string_view::npos)
            line = line.substr(0, nul);
        lines.push_back(line);
        p = hasEnd ? q + 1 : q;
    }
    return lines;
}

int FirstLineWithNul(std::string_view data)
{
    const size_t nul = data.find('\0');
    if (nul == std::string_view::npos)
        return 0;
    const auto lineEnds = std::count(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(nul), '\n');
    return lineEnds >= INT_MAX ? INT_MAX : static_cast<int>(lineEnds) + 1;
}

} // namespace tabry
