#include "core/EventLines.h"

#include "core/Boards.h"
#include "core/ReportCode.h"
#include "core/TournamentInfo.h"
#include "text/LineString.h"

#include <algorithm>
#include <optional>

namespace tabry {

namespace {

constexpr int kBoardDiscs = 64;

// A number of plain digits and nothing else; saturated well beyond every
// row and round so that no run of digits can overflow.
std::optional<int> Digits(std::string_view s)
{
    if (s.empty())
        return std::nullopt;
    long long v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = std::min(v * 10 + (c - '0'), 1000000LL);
    }
    return static_cast<int>(v);
}

// The two comma-separated parts of a value, trimmed; the second is empty
// when there is no comma.
std::pair<std::string_view, std::string_view> TwoParts(std::string_view value)
{
    const size_t comma = value.find(',');
    if (comma == std::string_view::npos)
        return {TrimCSpace(value), {}};
    return {TrimCSpace(value.substr(0, comma)), TrimCSpace(value.substr(comma + 1))};
}

} // namespace

std::optional<int> ByeWinDisc(std::string_view score)
{
    const size_t dash = score.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> own = Digits(TrimCSpace(score.substr(0, dash)));
    const std::optional<int> other = Digits(TrimCSpace(score.substr(dash + 1)));
    if (!own || !other || *own + *other != kBoardDiscs || *own <= *other)
        return std::nullopt;
    return *own - *other;
}

const CEventLines::Kind CEventLines::kKinds[] = {
    {"BYE", &CEventLines::ParseBye},
    {"TIEBREAK2", &CEventLines::ParseTieBreak2},
    {"WITHDRAWN", &CEventLines::ParseWithdrawn},
    {"ABSENT", &CEventLines::ParseAbsent},
    {"BOARDS", &CEventLines::ParseBoards},
    {"REPORTING", &CEventLines::ParseReporting},
};

CEventLines::CEventLines(int players, int rounds)
    : m_rounds(rounds), m_withdrawnFrom(static_cast<size_t>(std::max(players, 0)), kNotWithdrawn),
      m_withdrawnLine(static_cast<size_t>(std::max(players, 0)), 0), m_plans(static_cast<size_t>(std::max(rounds, 0)))
{
}

CEventLines::Outcome CEventLines::Parse(std::string_view line, int number)
{
    const std::optional<DetailsLine> details = SplitDetailsLine(line);
    if (!details)
        return Outcome::NotAnEventLine;
    for (const Kind& kind : kKinds)
        if (details->key == kind.key)
            return (this->*kind.parse)(details->value, number) ? Outcome::Taken : Outcome::Malformed;
    return Outcome::NotAnEventLine;
}

bool CEventLines::ParseBye(std::string_view value, int)
{
    const auto [first, second] = TwoParts(value);
    ByeRule rule;
    if (AsciiUpper(first) != "NONE") {
        const std::optional<int> disc = ByeWinDisc(first);
        if (!disc)
            return false;
        rule.winDisc = *disc;
    }
    // A rule written without its receiver leaves the choice to the pairing,
    // as it always did; a receiver no reader knows is no rule at all.
    const std::string receiver = AsciiUpper(second);
    if (!receiver.empty() && receiver != "PAIRING" && receiver != "LOWEST")
        return false;
    rule.toLowest = receiver == "LOWEST";
    if (!rule.IsValid())
        return false;
    m_bye = rule;
    return true;
}

bool CEventLines::ParseTieBreak2(std::string_view value, int)
{
    // Unlike the first method's field, which older files may hold out of
    // range, this line is ours alone: a method no reader knows is refused.
    const std::optional<int> method = Digits(value);
    if (!method || *method >= kTieBreakMethodCount)
        return false;
    m_tieBreak2 = *method;
    return true;
}

std::optional<std::pair<int, int>> CEventLines::Cell(std::string_view value) const
{
    const auto [first, second] = TwoParts(value);
    const std::optional<int> row = Digits(first);
    const std::optional<int> round = Digits(second);
    if (!row || !round || *row >= static_cast<int>(m_withdrawnFrom.size()) || *round < 1 || *round > m_rounds)
        return std::nullopt;
    return std::pair{*row, *round - 1};
}

bool CEventLines::ParseWithdrawn(std::string_view value, int number)
{
    const auto cell = Cell(value);
    if (!cell)
        return false;
    const auto [row, round] = *cell;
    const auto r = static_cast<size_t>(row);
    if (m_withdrawnFrom[r] == kNotWithdrawn || round < m_withdrawnFrom[r]) {
        m_withdrawnFrom[r] = round;
        m_withdrawnLine[r] = number;
    }
    return true;
}

bool CEventLines::ParseAbsent(std::string_view value, int number)
{
    const auto cell = Cell(value);
    if (!cell)
        return false;
    // A bounded list: one line per cell of the table at most is kept.
    if (m_absences.size() < m_withdrawnFrom.size() * static_cast<size_t>(std::max(m_rounds, 0)))
        m_absences.push_back({cell->first, cell->second, number});
    return true;
}

bool CEventLines::ParseBoards(std::string_view value, int)
{
    const int players = static_cast<int>(m_withdrawnFrom.size());
    // Every item counts, a trailing empty one too (a last number unused).
    std::vector<std::string_view> items;
    for (size_t start = 0;;) {
        const size_t comma = value.find(',', start);
        items.push_back(TrimCSpace(value.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    // A round keeps the numbers of games that went, and rows can be removed
    // after it was paired, so a plan may hold more boards than the table has
    // players; the editor never lets one grow beyond kMaxBoardNumbers.
    const std::optional<int> round = Digits(items[0]);
    if (!round || *round < 1 || *round > m_rounds || !m_plans[static_cast<size_t>(*round - 1)].empty()
        || items.size() < 2 || items.size() - 1 > static_cast<size_t>(kMaxBoardNumbers))
        return false;
    BoardPlan plan;
    for (size_t k = 1; k < items.size(); ++k) {
        BoardSeat seat;
        if (!items[k].empty()) {
            const size_t dash = items[k].find('-');
            const std::optional<int> left = Digits(items[k].substr(0, dash));
            const std::optional<int> right =
                dash == std::string_view::npos ? std::nullopt : Digits(items[k].substr(dash + 1));
            if (!left || !right || *left >= players || *right >= players || *left == *right)
                return false;
            seat = {*left, *right};
        }
        plan.push_back(seat);
    }
    m_plans[static_cast<size_t>(*round - 1)] = std::move(plan);
    return true;
}

bool CEventLines::ParseReporting(std::string_view value, int)
{
    // A key read wrongly would print codes that no longer match the slips
    // already on the boards: refused rather than guessed.
    if (!IsReportingKey(value))
        return false;
    m_reportingKey = std::string(value);
    return true;
}

void CEventLines::ApplyTo(CResultTable& table, ReadFindings* findings) const
{
    const int rows = std::min(table.PlayerCount(), static_cast<int>(m_withdrawnFrom.size()));
    for (int r = 0; r < rows; ++r) {
        const int from = m_withdrawnFrom[static_cast<size_t>(r)];
        if (from == kNotWithdrawn || from >= table.RoundCount())
            continue;
        PlayerEntry& entry = table.Entry(r);
        if (!entry.IsEmpty()) {
            entry.withdrawnFrom = from;
        } else if (findings != nullptr) {
            ReadFinding f;
            f.kind = FindingKind::WithdrawalOfEmptyRow;
            f.line = m_withdrawnLine[static_cast<size_t>(r)];
            f.row = r;
            findings->push_back(f);
        }
    }
    for (const Absence& a : m_absences) {
        if (a.row >= table.PlayerCount() || a.round >= table.RoundCount())
            continue;
        PlayerEntry& entry = table.Entry(a.row);
        if (!entry.IsEmpty()) {
            entry.absent.set(static_cast<size_t>(a.round));
        } else if (findings != nullptr) {
            ReadFinding f;
            f.kind = FindingKind::AbsenceOfEmptyRow;
            f.line = a.line;
            f.row = a.row;
            findings->push_back(f);
        }
    }
    for (int j = 0; j < std::min(table.RoundCount(), static_cast<int>(m_plans.size())); ++j)
        if (!m_plans[static_cast<size_t>(j)].empty())
            table.SetPlan(j, m_plans[static_cast<size_t>(j)]);
}

std::string ByeScoreText(const ByeRule& rule)
{
    if (rule.winDisc <= 0)
        return {};
    return std::to_string((kBoardDiscs + rule.winDisc) / 2) + "-" + std::to_string((kBoardDiscs - rule.winDisc) / 2);
}

void WriteEventLines(const CResultTable& table, const CTournamentInfo& info, std::string& out)
{
    const ByeRule& bye = table.settings.bye;
    if (!bye.IsDefault()) {
        out += "##Bye: ";
        out += bye.winDisc > 0 ? ByeScoreText(bye) : std::string("none");
        out += bye.toLowest ? ",lowest\r\n" : ",pairing\r\n";
    }
    if (HasSecondTieBreak(table.settings))
        out += "##TieBreak2: " + std::to_string(table.settings.tieBreak2) + "\r\n";
    for (int r = 0; r < table.PlayerCount(); ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (!e.IsEmpty() && e.IsWithdrawn())
            out += "##Withdrawn: " + std::to_string(r) + "," + std::to_string(e.withdrawnFrom + 1) + "\r\n";
    }
    for (int r = 0; r < table.PlayerCount(); ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty())
            continue;
        for (int j = 0; j < table.RoundCount(); ++j)
            if (e.IsAbsentIn(j))
                out += "##Absent: " + std::to_string(r) + "," + std::to_string(j + 1) + "\r\n";
    }
    for (int j = 0; j < table.RoundCount(); ++j) {
        if (table.Plan(j).empty())
            continue;
        const BoardPlan plan = CheckedPlan(table, j);
        if (plan == PlanOf(DerivedBoards(table, j)))
            continue; // a file without the line gives the same numbers
        out += "##Boards: " + std::to_string(j + 1);
        for (const BoardSeat& seat : plan)
            out +=
                seat.IsUnused() ? std::string(",") : "," + std::to_string(seat.left) + "-" + std::to_string(seat.right);
        out += "\r\n";
    }
    if (!info.reportingKey.empty())
        out += "##Reporting: " + info.reportingKey + "\r\n";
}

} // namespace tabry
