#include "playerdb/ui/UserDbRows.h"

#include "core/ResultTable.h"
#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace tabry {

namespace {

// Plain unsigned byte order, whatever the signedness of char.
int CompareBytes(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

void AssignValues(UserDbRow& row, const UserEditValues& values)
{
    row.longName = values.longName;
    row.shortName = values.shortName;
    row.grade = GradeCodeOf(values);
    row.residence = values.residence;
    row.memberNumber = values.memberNumber;
    row.inputName = values.inputName;
}

} // namespace

void CUserDbRows::LoadFrom(const CPlayerDatabase& db)
{
    m_rows.clear();
    m_sortColumn = -1;
    m_descending = false;
    for (int i = 1; i < db.GetCount(); ++i) {
        const CPlayerRecord& r = db.GetAt(i);
        m_rows.push_back({r.m_longName, r.m_shortName, r.m_grade, r.m_residence, r.m_memberNumber, r.m_inputName, i});
    }
}

std::string CUserDbRows::Text(int row, int column) const
{
    return TextOf(Row(row), column);
}

std::string CUserDbRows::TextOf(const UserDbRow& row, int column)
{
    switch (column) {
    case LongName:
        return row.longName;
    case ShortName:
        return row.shortName;
    case Grade:
        return FormatGrade(row.grade);
    case Residence:
        return row.residence;
    case MemberNumber:
        return row.memberNumber;
    case InputName:
        return row.inputName;
    default:
        return {};
    }
}

void CUserDbRows::Swap(int a, int b)
{
    std::swap(m_rows.at(static_cast<size_t>(a)), m_rows.at(static_cast<size_t>(b)));
}

bool CUserDbRows::IsUsedByTable(int row, const CResultTable& table) const
{
    const int origin = Row(row).origin;
    return origin >= 0 && table.FindRowOfPlayer(origin) >= 0;
}

void CUserDbRows::Remove(int row)
{
    m_rows.erase(m_rows.begin() + row);
}

int CUserDbRows::Append(const UserEditValues& values)
{
    UserDbRow row;
    AssignValues(row, values);
    row.origin = -1;
    m_rows.push_back(std::move(row));
    return Count() - 1;
}

void CUserDbRows::Replace(int row, const UserEditValues& values)
{
    AssignValues(m_rows.at(static_cast<size_t>(row)), values);
}

UserEditValues CUserDbRows::EditValues(int row) const
{
    // A row opens the dialog exactly as the record it stands for would; a row
    // added here carries origin -1 and so opens in add mode.
    const UserDbRow& r = Row(row);
    const CPlayerRecord record{r.longName, r.inputName, r.shortName, r.grade, r.residence, r.memberNumber};
    return ValuesFromRecord(record, r.origin);
}

int CUserDbRows::CompareColumnTexts(int column, const std::string& a, const std::string& b)
{
    if (column == Grade) {
        const int ra = GradeRankOfText(a);
        const int rb = GradeRankOfText(b);
        if (ra < 0 || rb < 0)
            return (ra < 0) - (rb < 0); // texts outside the list go last
        return rb - ra;                 // highest rank first
    }
    if (column == Residence) {
        const int pa = PrefectureIndexOfText(a);
        const int pb = PrefectureIndexOfText(b);
        if (pa < 0 && pb < 0)
            return CompareBytes(b, a); // other places: descending byte order
        if (pa < 0 || pb < 0)
            return (pa < 0) - (pb < 0);
        return pa - pb;
    }
    return CompareBytes(a, b);
}

std::vector<int> CUserDbRows::SortByColumn(int column)
{
    m_descending = column == m_sortColumn ? !m_descending : false;
    m_sortColumn = column;

    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<std::string> keys;
    keys.reserve(m_rows.size());
    for (const UserDbRow& r : m_rows)
        keys.push_back(TextOf(r, column));
    const bool descending = m_descending;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = CompareColumnTexts(column, keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
        return descending ? c > 0 : c < 0;
    });

    std::vector<UserDbRow> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newPosition(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(m_rows[static_cast<size_t>(order[i])]));
        newPosition[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    return newPosition;
}

std::vector<PlayerListEntry> CUserDbRows::RebuildList() const
{
    std::vector<PlayerListEntry> list;
    list.reserve(m_rows.size());
    for (const UserDbRow& r : m_rows) {
        PlayerListEntry entry;
        entry.record.m_longName = r.longName;
        entry.record.m_inputName = r.inputName;
        entry.record.m_shortName = r.shortName;
        entry.record.m_grade = r.grade;
        entry.record.m_residence = r.residence;
        entry.record.m_memberNumber = r.memberNumber;
        entry.origin = r.origin;
        list.push_back(std::move(entry));
    }
    return list;
}

} // namespace tabry
