#include "core/TournamentInfo.h"

#include "text/LineString.h"

#include <cctype>
#include <climits>

namespace tabry {

namespace {

// One "%d" conversion of scanf: white space, optional sign, at least one digit.
bool ScanInt(std::string_view s, size_t& p, int& value)
{
    while (p < s.size() && IsCSpace(s[p]))
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

std::optional<DetailsLine> SplitDetailsLine(std::string_view line)
{
    if (line.size() < 2 || line[0] != '#' || line[1] != '#')
        return std::nullopt;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    return DetailsLine{AsciiUpper(TrimCSpace(line.substr(2, colon - 2))), TrimCSpace(line.substr(colon + 1))};
}

int CTournamentInfo::ParseHeaderLine(std::string_view line)
{
    const std::optional<DetailsLine> details = SplitDetailsLine(line);
    if (!details)
        return 0;
    const std::string& key = details->key;
    const std::string_view value = details->value;
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
