#include "grid/ResultPopupLogic.h"

#include "core/TournamentData.h"
#include "edit/EditTexts.h"
#include "grid/ScoreText.h"
#include "text/Cp932.h"
#include "text/LineString.h"

namespace tabry::grid {

namespace {

bool IsScoreStart(char c)
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-';
}

// A bye committed without a result of its own (the field's even score, the
// mark that follows it, or none) becomes the bye of the tournament's rule:
// a bye is never a draw, and with the default rule it has no result. A win
// or loss the organiser typed for it stays.
void ApplyByeRule(const ByeRule& rule, CResultPopupLogic::Values& v)
{
    if (v.opponent != ByeOpponent || !(v.result == ResultNone || (v.result == ResultDraw && v.score == 0)))
        return;
    const ResultCell cell = rule.ByeCell();
    v.result = cell.result;
    v.score = cell.disc;
}

} // namespace

CResultPopupLogic::CResultPopupLogic(const TournamentData& data, int row, int round)
    : m_data(data), m_row(row), m_round(round)
{
}

bool CResultPopupLogic::ShowDiscDifference() const
{
    return m_data.table.settings.showDiscDifference;
}

CResultPopupLogic::Opening CResultPopupLogic::Open(const std::optional<std::string>& typed) const
{
    Opening open;
    const ResultCell& cell = m_data.table.Cell(m_row, m_round);
    const bool typedScore = typed && !typed->empty() && IsScoreStart((*typed)[0]);
    if (typed && !typedScore) {
        open.nameText = *typed;
        open.focus = Focus::Name;
    } else if (cell.opponent == ByeOpponent) {
        open.nameText = m_data.players.GetAt(0).m_longName;
        open.opponentOfCell = ByeOpponent;
    } else if (cell.opponent >= 0 && !m_data.table.Entry(cell.opponent).IsEmpty()) {
        open.nameText = m_data.players.GetAt(m_data.table.Entry(cell.opponent).playerIndex).m_longName;
        open.opponentOfCell = cell.opponent;
    }
    open.cellScoreText = ScoreFieldText(cell.disc, ShowDiscDifference());
    open.cellEntry = MarkEntryOfResult(cell.result);
    if (typedScore) {
        open.typedScore = *typed;
        open.focus = Focus::Score;
    }
    return open;
}

void CResultPopupLogic::SetHighlighted(int index)
{
    m_highlighted = index >= 0 && index < static_cast<int>(m_items.size()) ? index : -1;
}

void CResultPopupLogic::Search(std::string_view typed)
{
    m_items = SearchCandidates(m_data, m_row, typed);
    m_highlighted = m_items.empty() ? -1 : 0;
}

void CResultPopupLogic::ListAll()
{
    m_items = AllCandidates(m_data, m_row, m_round);
    m_highlighted = m_items.empty() ? -1 : 0;
}

void CResultPopupLogic::DownFromName()
{
    if (m_items.empty()) {
        ListAll();
        return;
    }
    if (m_highlighted >= 0 && m_highlighted + 1 < static_cast<int>(m_items.size()))
        ++m_highlighted;
}

void CResultPopupLogic::Prefer(int data)
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].data == data) {
            m_highlighted = static_cast<int>(i);
            return;
        }
    }
}

int CResultPopupLogic::MarkAfterScoreChange(std::string_view scoreText, int current) const
{
    return m_markByHand ? current : AutoMarkEntry(scoreText, current, ShowDiscDifference());
}

std::string CResultPopupLogic::Refusal(std::string_view scoreText, int entry, int opponent) const
{
    const bool difference = ShowDiscDifference();
    const ScoreReading reading = ReadScoreText(scoreText, difference);
    const bool needed = opponent != NoOpponent && ResultOfMarkEntry(entry) != ResultNone;
    switch (reading.kind) {
    case ScoreReading::Number:
        return {};
    case ScoreReading::Empty:
        if (!needed)
            return {};
        [[fallthrough]];
    case ScoreReading::NotANumber:
        return difference ? SJ("石差を数字で入力してください") : SJ("石数を数字で入力してください");
    case ScoreReading::OutOfRange:
        return difference ? SJ("石差は -64 ～ 64 です") : SJ("石数は 0 ～ 64 です");
    }
    return {};
}

std::string CResultPopupLogic::OpponentRefusal(std::string_view nameText, std::string_view scoreText, int entry,
                                               int opponent) const
{
    if (opponent == NoOpponent) {
        const bool scoreOrMark = !TrimCSpace(scoreText).empty() || entry != MarkBlank;
        if (!nameText.empty() && scoreOrMark)
            return SJ("この名前のプレイヤはいません");
        return {};
    }
    return RefusalText(GameRefusal(m_data, m_row, m_round, opponent, ResultOfMarkEntry(entry)), m_data);
}

int CResultPopupLogic::HighlightedOpponent() const
{
    return m_highlighted >= 0 ? m_items[static_cast<size_t>(m_highlighted)].data : NoOpponent;
}

CResultPopupLogic::Values CResultPopupLogic::Collect(std::string_view scoreText, int entry) const
{
    Values v;
    v.opponent = HighlightedOpponent();
    const ScoreReading reading = ReadScoreText(scoreText, ShowDiscDifference());
    v.score = reading.kind == ScoreReading::Number ? reading.disc : 0;
    v.result = ResultOfMarkEntry(entry);
    ApplyByeRule(m_data.table.settings.bye, v);
    return v;
}

} // namespace tabry::grid
