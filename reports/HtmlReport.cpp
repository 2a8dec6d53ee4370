#include "reports/HtmlReport.h"

#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "reports/Formatters.h"
#include "reports/ReportRows.h"
#include "text/Cp932.h"

namespace tabry {

namespace {

std::string_view OrNbsp(const CLineString& text)
{
    return text.IsEmpty() ? std::string_view("&nbsp;") : text.Text();
}

void AppendPlayerRow(const CFieldList& row, int roundCount, std::string& out)
{
    out += "    <TR>\r\n      <TD align=\"center\">";
    out += row.Get(ColRank).Text();
    out += "</TD>\r\n      <TD>\r\n"
           "        <TABLE BORDER=0 width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" class=\"TORVA\">\r\n"
           "          <TR><TD nowrap>";
    out += row.Get(ColLongName).Text();
    out += "</TD><TD align=\"right\" nowrap>&nbsp;";
    out += row.Get(ColShortName).Text();
    out += "</TD></TR>\r\n          <TR><TD nowrap>";
    out += OrNbsp(row.Get(ColResidence));
    out += "</TD><TD align=\"right\" nowrap>";
    out += OrNbsp(row.Get(ColGrade));
    out += "</TD></TR>\r\n        </TABLE>\r\n      </TD>\r\n";
    for (int j = 0; j < roundCount; ++j) {
        out += "      <TD align=\"center\">";
        out += row.Get(ResultColumn(j)).Text();
        out += "<BR>";
        out += row.Get(OpponentColumn(j)).Text();
        out += "</TD>\r\n";
    }
    out += "      <TD align=\"right\" nowrap>&nbsp;";
    out += row.Get(ColRecord).Text();
    out += "<BR>";
    out += row.Get(ColTieBreak1).Text();
    if (!row.Get(ColTieBreak2).IsEmpty()) {
        out += " / ";
        out += row.Get(ColTieBreak2).Text();
    }
    out += "</TD>\r\n    </TR>\r\n";
}

} // namespace

void WriteHtmlReport(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                     std::string& out)
{
    FormatReportRows(table, players);

    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
           "<HTML>\r\n<HEAD>\r\n"
           "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n"
           "<TITLE></TITLE>\r\n"
           "<style type=\"text/css\">\r\n<!--\r\nTABLE.TORVA{\r\n    font-size:12px;\r\n}\r\n-->\r\n</style>\r\n"
           "</HEAD>\r\n<BODY>\r\n<CENTER>\r\n";
    if (!info.name.empty())
        report::Append(out, {"<B>", info.name, "</B>\r\n"});
    if (info.HasDate())
        report::Append(out,
                       {info.name.empty() ? "" : "<BR>", report::SlashDate(info.year, info.month, info.day), "\r\n"});

    out += "  <TABLE bgcolor=\"#ffffff\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" class=\"TORVA\">\r\n"
           "    <TR bgcolor=\"#e0e0e0\" class=\"TITLE\">\r\n";
    out += SJ("      <TH nowrap>順位</TH>\r\n      <TH nowrap>氏名</TH>\r\n");
    for (int n = 1; n <= table.RoundCount(); ++n)
        report::Append(out, {"      <TH nowrap>", report::Decimal(n), SJ("回戦"), "</TH>\r\n"});
    out += SJ("      <TH nowrap>合計</TH>\r\n    </TR>\r\n");

    for (int r = 0; r < table.PlayerCount(); ++r) {
        const CFieldList& row = table.reportRows[static_cast<size_t>(r)];
        if (!row.Get(ColRank).IsEmpty())
            AppendPlayerRow(row, table.RoundCount(), out);
    }

    out += SJ("  </TBODY>\r\n</TABLE>\r\n※ この結果表は<A target=\"_blank\" href=\"");
    out += ProgramHomePage();
    out += SJ("\">Orlan氏作の TORVA</A> を用いて作成しました。</CENTER>\r\n</BODY>\r\n</HTML>\r\n");
}

} // namespace tabry
