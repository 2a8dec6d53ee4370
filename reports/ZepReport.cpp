#include "reports/ZepReport.h"

#include "text/Cp932.h"
#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "reports/Formatters.h"
#include "reports/ReportRows.h"

#include <algorithm>
#include <vector>

namespace tabry {

namespace {

constexpr size_t kPlayersPerPage = 20;
constexpr size_t kNumbersPerLine = 5;

void AppendHead(const CTournamentInfo& info, std::string& out)
{
    out += "\\newpage{upage}\r\n#\r\n\\addstyle{B5}\r\n#\r\n"
           "\\set{left}{20mm}\r\n\\set{top}{45mm}\r\n\\set{bottom}{242mm}\r\n#\r\n"
           "\\begin{artbox}{15mm}{30mm}{$pageright}{$pagebottom}\r\n \\bf\r\n {\\large ";
    out += info.name;
    out += "}\\n\r\n {\\flushright ";
    if (info.HasDate())
        report::Append(out, {report::Decimal(info.year), SJ("年"), report::Decimal(info.month), SJ("月"),
                             report::Decimal(info.day), SJ("日")});
    out += "}\r\n\\end{artbox}\r\n#\r\n"
           "\\set{wid1}{1.5zw}\r\n\\set{wid2}{5.1zw}\r\n\\set{wid3}{2.8zw}\r\n\\set{wid4}{6zw}\r\n"
           "\\set{sp1}{3mm}\r\n\\set{sp2}{5mm}\r\n\\set{sp3}{4mm}\r\n\\set{sp4}{4mm}\r\n"
           "\\set{lskip}{13pt}\r\n\\set{strsize}{10pt}\r\n\r\n\\set{x}{$left}\r\n";
}

// One page: `rows` are the report rows of its players, `firstNumber` the
// position number of the first of them.
void AppendPage(const std::vector<const CFieldList*>& rows, size_t firstNumber, int roundCount, std::string& out)
{
    out += "\\set{x}{$left}\r\n\\@set{x2}{$x $wid1 +}\r\n\\begin{artbox}{$x}{$top}{$x2}{$bottom}\r\n"
           "\\point{$strsize}\\lineskip{$lskip}\r\n\\flushright\r\n";
    for (size_t i = 0; i < rows.size(); ++i) {
        const long long number = static_cast<long long>(firstNumber) + static_cast<long long>(i);
        report::Append(out, {report::Decimal(number), ".\\n\\n "});
        if ((i + 1) % kNumbersPerLine == 0)
            out += "\r\n";
    }
    out += "\\end{artbox}\r\n";

    out += "\\@set{x}{$x2 $sp1 +}\r\n\\@set{x2}{$x $wid2 +}\r\n\\begin{artbox}{$x}{$top}{$x2}{$bottom}\r\n"
           "\\point{$strsize}\\lineskip{$lskip}\r\n\\flushright\r\n";
    for (const CFieldList* row : rows)
        report::Append(out, {AlignedZepName(row->Get(ColLongName).str()), "\\n", row->Get(ColGrade).Text(), "\\n\r\n"});
    out += "\\end{artbox}\r\n\\@set{x}{$x2 $sp2 +}\r\n";

    for (int j = 0; j < roundCount; ++j) {
        out += " \\@set{x2}{$x $wid3 +}\r\n \\begin{artbox}{$x}{$top}{$x2}{$bottom}\r\n"
               "  \\point{10pt}\\lineskip{$lskip}\r\n";
        for (const CFieldList* row : rows) {
            // The result text is the two-byte mark followed by the score.
            const std::string_view result = row->Get(ResultColumn(j)).Text();
            const size_t markLength = std::min<size_t>(2, result.size());
            out += result.substr(0, markLength);
            out += "\\cr{\\flushright ";
            out += result.substr(markLength);
            out += "\\n ";
            out += row->Get(OpponentColumn(j)).Text();
            out += "}\r\n";
        }
        out += "\\end{artbox}\r\n";
        out += j + 1 == roundCount ? "\\@set{x}{$x2 $sp4 +}\r\n" : "\\@set{x}{$x2 $sp3 +}\r\n";
    }

    out += " \\@set{x2}{$x $wid4 +}\r\n \\begin{artbox}{$x}{$top}{$x2}{$bottom}\r\n"
           " \\point{10pt}\\lineskip{$lskip}\r\n \\flushright\r\n";
    for (const CFieldList* row : rows) {
        out += row->Get(ColRecord).Text();
        out += "\\n ";
        out += row->Get(ColTieBreak1).Text();
        if (!row->Get(ColTieBreak2).IsEmpty()) {
            out += " / ";
            out += row->Get(ColTieBreak2).Text();
        }
        out += "\\n\r\n";
    }
    out += "\\end{artbox}\r\n\r\n";
}

} // namespace

std::string AlignedZepName(const std::string& longName)
{
    CFieldList words;
    CLineString(longName).SplitWhite(words, -1);
    const std::string_view first = words.Get(0).Text();
    const std::string_view second = words.Get(1).Text();
    std::string aligned(first);
    const long long spaces = (10 - static_cast<long long>(first.size()) - static_cast<long long>(second.size())) / 2;
    for (long long i = 0; i < spaces; ++i)
        aligned += SJ("　");
    aligned += second;
    return aligned;
}

void WriteZepReport(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                    std::string& out)
{
    FormatReportRows(table, players);
    AppendHead(info, out);

    // The player rows in table order. In standings order they are exactly
    // rows 0 .. rankedCount - 1; taking the player rows themselves keeps a
    // table that was never sorted from printing empty slots and losing its
    // last players.
    std::vector<const CFieldList*> ranked;
    for (const CFieldList& row : table.reportRows)
        if (!row.Get(ColRank).IsEmpty())
            ranked.push_back(&row);

    for (size_t first = 0; first < ranked.size(); first += kPlayersPerPage) {
        if (first > 0)
            out += "\\newpage{}\r\n";
        const size_t last = std::min(ranked.size(), first + kPlayersPerPage);
        const std::vector<const CFieldList*> page(ranked.begin() + static_cast<std::ptrdiff_t>(first),
                                                  ranked.begin() + static_cast<std::ptrdiff_t>(last));
        AppendPage(page, first + 1, table.RoundCount(), out);
    }
}

} // namespace tabry
