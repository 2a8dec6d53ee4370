#include "core/TournamentInfo.h"

#include "text/LineString.h"

#include <cctype>
#include <climits>

namespace tabry {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view TrimWhite(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// One "%d" conversion of scanf: white space, optional sign, at least one digit.
bool ScanInt(std::string_view s, size_t& p, int& value)
{
    while (p < s.size() && IsSpace(s[p]))
        ++p;
    size_t q = p;
    if (q < s.size() && (s[q] == '+' || s[q] == '-'))
        ++q;
    if (q >= s.size() || s[q] < '0' || s[q] > '9')
        return false;
    while (q < s.size() && s[q] >= '0' && s[q] <= '9')
        ++q;
    value = ParseDecimal(s.substr(p, q - p));
    p = q;
    return true;
}

// "%d/%d/%d": all three numbers must be present; text after the third is ignored.
bool ScanDate(std::string_view s, int& y, int& m, int& d)
{
    size_t p = 0;
    if (!ScanInt(s, p, y) || p >= s.size() || s[p] != '/')
        return false;
    ++p;
    if (!ScanInt(s, p, m) || p >= s.size() || s[p] != '/')
        return false;
    ++p;
    return ScanInt(s, p, d);
}

} // namespace

int CTournamentInfo::ParseHeaderLine(std::string_view line)
{
    if (line.size() < 2 || line[0] != '#' || line[1] != '#')
        return 0;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return 0;
    std::string key(TrimWhite(line.substr(2, colon - 2)));
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const std::string_view value = TrimWhite(line.substr(colon + 1));
    if (key == "TOURNAMENT") {
        name = std::string(value);
    } else if (key == "FORMAT") {
        format = ParseDecimal(value);
    } else if (key == "DATE") {
        int y = 0, m = 0, d = 0;
        if (ScanDate(value, y, m, d)) {
            year = y;
            month = m;
            day = d;
        }
    } else {
        return 0;
    }
    return 1;
}

void CTournamentInfo::WriteHeaderLines(std::string& out) const
{
    out += "##Format: " + std::to_string(format) + "\r\n";
    if (!name.empty()) {
        out += "##Tournament: ";
        for (const char c : name)
            if (c != '\r' && c != '\n')
                out += c;
        out += "\r\n";
    }
    if (HasDate())
        out += "##Date: " + std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day) + "\r\n";
}

} // namespace tabry
