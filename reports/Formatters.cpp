#include "reports/Formatters.h"

#include "core/ResultTable.h"
#include "text/Cp932.h"

#include <cstdio>

#ifndef TABRY_HOMEPAGE_URL
#error "TABRY_HOMEPAGE_URL must come from the build (CMake cache variable of the same name)"
#endif

namespace tabry {

std::string FormatRecord(int wins, int losses, int draws, int winsWidth)
{
    std::string text;
    report::AppendRight(text, report::Decimal(wins), winsWidth);
    text += SJ("勝");
    report::AppendRight(text, report::Decimal(losses), 2);
    text += SJ("敗");
    report::AppendRight(text, report::Decimal(draws), 2);
    text += SJ("分");
    return text;
}

namespace report {

void AppendRight(std::string& out, std::string_view text, int width)
{
    if (width > 0 && static_cast<size_t>(width) > text.size())
        out.append(static_cast<size_t>(width) - text.size(), ' ');
    out.append(text);
}

void AppendLeft(std::string& out, std::string_view text, int width)
{
    out.append(text);
    if (width > 0 && static_cast<size_t>(width) > text.size())
        out.append(static_cast<size_t>(width) - text.size(), ' ');
}

std::string Decimal(long long v)
{
    return std::to_string(v);
}

std::string Decimal02(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

void Append(std::string& out, std::initializer_list<std::string_view> parts)
{
    for (const std::string_view part : parts)
        out.append(part);
}

std::string Concat(std::initializer_list<std::string_view> parts)
{
    std::string text;
    Append(text, parts);
    return text;
}

std::string SlashDate(int year, int month, int day)
{
    return Concat({Decimal(year), "/", Decimal02(month), "/", Decimal02(day)});
}

} // namespace report

std::string FormatHalfPoints(int v, bool compact)
{
    std::string text;
    report::AppendRight(text, report::Decimal(v / 2), compact ? 0 : 5);
    text += (v % 2 != 0) ? ".5" : ".0";
    return text;
}

std::string FormatBrightwell(int v, bool compact)
{
    const long long value = v;
    const long long magnitude = value < 0 ? -value : value;
    std::string number = value < 0 ? "-" : "";
    number += report::Decimal(magnitude / 20);
    number += '.';
    const long long hundredths = (magnitude % 20) * 5;
    if (hundredths < 10)
        number += '0';
    number += report::Decimal(hundredths);
    std::string text;
    report::AppendRight(text, number, compact ? 3 : 8);
    return text;
}

std::string FormatDiscValue(int v, bool compact, int games, bool evenSuffix, bool showDiscDifference)
{
    std::string text;
    if (showDiscDifference) {
        const long long value = v;
        text += value > 0 ? '+' : (value < 0 ? '-' : (compact ? '+' : ' '));
        report::AppendRight(text, report::Decimal(value < 0 ? -value : value), compact ? 0 : 2);
        return text;
    }
    const long long t = static_cast<long long>(v) + 64LL * games;
    report::AppendRight(text, report::Decimal(t >> 1), compact ? 0 : 2);
    if ((t & 1) != 0)
        text += ".5";
    else if (evenSuffix)
        text += "  ";
    return text;
}

const std::string& ResultMark(int result)
{
    static const std::string none;
    if (result == ResultNone)
        return none;
    if (result < 0)
        return SJ("×");
    if (result == 0)
        return SJ("△");
    return SJ("○");
}

const std::string& ProgramHomePage()
{
    static const std::string address = cp932::FromUtf8(TABRY_HOMEPAGE_URL);
    return address;
}

} // namespace tabry
