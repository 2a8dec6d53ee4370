#include "grid/PlayerPopupLogic.h"

#include "core/TournamentData.h"
#include "edit/EditTexts.h"

namespace tabry::grid {

CPlayerPopupLogic::CPlayerPopupLogic(const TournamentData& data, int row) : m_data(data), m_row(row)
{
}

void CPlayerPopupLogic::SetHighlighted(int index)
{
    m_highlighted = index >= 0 && index < static_cast<int>(m_items.size()) ? index : -1;
}

void CPlayerPopupLogic::Search(std::string_view typed)
{
    m_items = SearchPlayers(m_data.players, typed);
    m_highlighted = m_items.empty() ? -1 : 0;
}

void CPlayerPopupLogic::ListUnentered()
{
    m_items = UnenteredPlayers(m_data.players, m_data.table);
    m_highlighted = m_items.empty() ? -1 : 0;
}

void CPlayerPopupLogic::DownFromName()
{
    if (m_highlighted >= 0) {
        if (m_highlighted + 1 < static_cast<int>(m_items.size()))
            ++m_highlighted;
    } else {
        ListUnentered();
    }
}

std::optional<std::string> CPlayerPopupLogic::TakeHighlighted()
{
    if (m_highlighted < 0 || m_highlighted >= static_cast<int>(m_items.size()))
        return std::nullopt;
    const EditorListItem& item = m_items[static_cast<size_t>(m_highlighted)];
    m_chosen = item.data;
    return item.text;
}

CPlayerPopupLogic::Outcome CPlayerPopupLogic::CommitOrRefuse(std::optional<std::string> fieldText)
{
    Outcome out;
    out.fieldText = std::move(fieldText);
    // The editor would refuse him (a person in two rows counts twice in
    // every standing); the editor keeps the field open instead.
    if (const EditRefusal refusal = RowPlayerRefusal(m_data, m_row, m_chosen)) {
        out.kind = Outcome::Duplicate;
        out.message = RefusalText(refusal, m_data);
        return out;
    }
    out.kind = Outcome::Commit;
    return out;
}

CPlayerPopupLogic::Outcome CPlayerPopupLogic::Ok(std::string_view fieldText)
{
    if (std::optional<std::string> taken = TakeHighlighted())
        return CommitOrRefuse(std::move(taken));
    Outcome out;
    if (fieldText.empty()) {
        out.kind = Outcome::Cancel;
        return out;
    }
    out.kind = Outcome::Register;
    out.typed = std::string(fieldText);
    return out;
}

CPlayerPopupLogic::Outcome CPlayerPopupLogic::DoubleClick(int index)
{
    SetHighlighted(index);
    std::optional<std::string> taken = TakeHighlighted();
    if (!taken)
        return {};
    return CommitOrRefuse(std::move(taken));
}

CPlayerPopupLogic::Outcome CPlayerPopupLogic::Registered(int record)
{
    Outcome out;
    if (record < 0)
        return out; // cancelled: the popup stays with its text
    m_chosen = record;
    out.kind = Outcome::Commit;
    return out;
}

CPlayerPopupLogic::Outcome CPlayerPopupLogic::Cancel()
{
    m_chosen = -1;
    Outcome out;
    out.kind = Outcome::Cancel;
    return out;
}

} // namespace tabry::grid
