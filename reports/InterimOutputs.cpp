#include "reports/InterimOutputs.h"

#include "core/ResultTable.h"
#include "core/Terms.h"
#include "playerdb/PlayerDatabase.h"
#include "reports/Formatters.h"
#include "reports/ReportRows.h"
#include "text/Cp932.h"

#include <cassert>

namespace tabry {

namespace {

// "[%3.1f]" of a player's points (wins + draws / 2), from half points.
std::string PointsField(int halfPoints)
{
    const std::string number = report::Concat({report::Decimal(halfPoints / 2), (halfPoints % 2 != 0) ? ".5" : ".0"});
    std::string text = "[";
    report::AppendRight(text, number, 3);
    text += "]";
    return text;
}

// One line per player; rounds from `roundsShown` on are two empty fields.
void AppendScoreSheetLines(const CResultTable& table, int roundsShown, std::string& out)
{
    const std::array<int, 10>& w = table.reportWidths;
    for (const CFieldList& row : table.reportRows) {
        if (row.Get(ColRank).IsEmpty())
            continue;
        report::AppendRight(out, row.Get(ColRank).Text(), w[ColRank]);
        out += ".";
        for (const int column : {ColLongName, ColGrade, ColResidence}) {
            out += ",";
            out += row.Get(column).Text();
        }
        out += ",";
        for (int j = 0; j < table.RoundCount(); ++j) {
            if (j >= roundsShown) {
                out += ",,";
                continue;
            }
            out += ",";
            out += row.Get(ResultColumn(j)).Text();
            out += ",";
            out += row.Get(OpponentColumn(j)).Text();
        }
        out += ",,";
        out += row.Get(ColRecord).Text();
        out += ",";
        out += row.Get(ColTieBreak1).Text();
        if (w[ColTieBreak2] > 0) {
            out += ",";
            out += row.Get(ColTieBreak2).Text();
        }
        out += "\r\n";
    }
}

} // namespace

void WriteScoreSheet(const CResultTable& table, const CPlayerDatabase& players, std::string& out)
{
    CResultTable copy = StandingsCopy(table);
    FormatReportRows(copy, players);
    AppendScoreSheetLines(copy, copy.RoundCount(), out);
}

void WriteScoreSheetThrough(const CResultTable& table, const CPlayerDatabase& players, int round, std::string& out)
{
    assert(round >= 1 && round <= table.RoundCount());
    CResultTable copy = StandingsCopy(table, round);
    FormatReportRows(copy, players);
    AppendScoreSheetLines(copy, round, out);
}

void WritePairingTable(const CResultTable& table, const CPlayerDatabase& players, int round, std::string& out)
{
    assert(round >= 1 && round <= table.RoundCount());
    CResultTable copy = StandingsCopy(table, round - 1);
    FormatReportRows(copy, players);
    const int j = round - 1;

    int k = 0;
    for (int i = 0; i < copy.PlayerCount(); ++i) {
        const CFieldList& row = copy.reportRows[static_cast<size_t>(i)];
        const int o = copy.Cell(i, j).opponent;
        if (row.Get(ColRank).IsEmpty() || o < i || o >= copy.PlayerCount())
            continue;
        const CFieldList& other = copy.reportRows[static_cast<size_t>(o)];
        ++k;
        report::AppendRight(out, report::Decimal(k), 2);
        out += ".,";
        out += row.Get(ColLongName).Text();
        out += ",";
        out += row.Get(ColGrade).Text();
        report::Append(out, {",", PointsField(copy.Entry(i).points), ",-,"});
        out += other.Get(ColLongName).Text();
        out += ",";
        out += other.Get(ColGrade).Text();
        report::Append(out, {",", PointsField(copy.Entry(o).points), "\r\n"});
    }

    for (int i = 0; i < copy.PlayerCount(); ++i) {
        const CFieldList& row = copy.reportRows[static_cast<size_t>(i)];
        const int o = copy.Cell(i, j).opponent;
        if (row.Get(ColRank).IsEmpty() || (o != NoOpponent && o != ByeOpponent))
            continue;
        out += ",";
        out += row.Get(ColLongName).Text();
        out += ",";
        out += row.Get(ColGrade).Text();
        // A withdrawn or resting player is no bye: only files with
        // withdrawals or absences show these.
        const std::string_view mark = copy.Entry(i).IsAbsentIn(j) ? std::string_view(TermText(Term::AbsentCell))
                                      : copy.Entry(i).PlaysIn(j)  ? std::string_view("PASS")
                                                                  : SJ("棄権");
        report::Append(out, {",", PointsField(copy.Entry(i).points), ",-,", mark, ",,[0.0]\r\n"});
    }
}

} // namespace tabry
