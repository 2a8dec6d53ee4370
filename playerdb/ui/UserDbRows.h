#pragma once
// The working copy behind the user DB dialog: one row per person of the
// player database (bye record excluded), each remembering the record it came
// from. The database itself is not touched until Rebuild, so Cancel simply
// drops the rows. No Qt here: the dialog and its model are a thin skin over
// this class.

#include "edit/TournamentEditor.h"
#include "playerdb/ui/UserEditValues.h"

#include <string>
#include <vector>

namespace tabry {

class CPlayerDatabase;
class CResultTable;

struct UserDbRow {
    std::string longName;
    std::string shortName;
    int grade = 0; // grade code; shown as FormatGrade of it
    std::string residence;
    std::string memberNumber;
    std::string inputName;
    int origin = -1; // database index the row came from; -1 for a row added here
};

// What the rebuild at OK did to the tournament table.
using UserDbRebuildResult = PlayerRebuildResult;

class CUserDbRows {
public:
    enum Column { LongName = 0, ShortName, Grade, Residence, MemberNumber, InputName };
    static constexpr int kColumnCount = 6;

    // One row for each record from index 1 on, in database order.
    void LoadFrom(const CPlayerDatabase& db);

    int Count() const { return static_cast<int>(m_rows.size()); }
    const UserDbRow& Row(int row) const { return m_rows.at(static_cast<size_t>(row)); }
    // The text a list column shows for a row (Shift_JIS).
    std::string Text(int row, int column) const;
    static std::string TextOf(const UserDbRow& row, int column);

    // ---- editing ---------------------------------------------------------
    // Exchanges two rows whole (texts and origin).
    void Swap(int a, int b);
    // True when the row came from the database and a table row plays as that
    // person: such a row must not be removed.
    bool IsUsedByTable(int row, const CResultTable& table) const;
    void Remove(int row);
    // Appends a row made from dialog values with origin -1; returns its position.
    int Append(const UserEditValues& values);
    // Replaces the texts and grade of a row; its origin stays.
    void Replace(int row, const UserEditValues& values);
    // Values for the add/edit dialog: the row's texts, its origin as the
    // record index (so a row added here opens as a new person).
    UserEditValues EditValues(int row) const;

    // ---- sorting ---------------------------------------------------------
    // Ordering of two texts of a column with the direction flag cleared:
    // negative when `a` goes first. Grade: strongest first, unknown texts
    // last. Residence: prefecture order, other texts after them in descending
    // byte order. Other columns: unsigned byte order.
    static int CompareColumnTexts(int column, const std::string& a, const std::string& b);
    // A click on a column header: the same column again inverts the direction,
    // another column clears it; then the rows are sorted (stably). Returns, for
    // each old position, the row's new position.
    std::vector<int> SortByColumn(int column);
    int SortColumn() const { return m_sortColumn; }
    bool SortDescending() const { return m_descending; }

    // ---- OK --------------------------------------------------------------
    // The rows as the editor's rebuild takes them, in their order: the
    // texts and grade of each, and the record it came from.
    std::vector<PlayerListEntry> RebuildList() const;

private:
    std::vector<UserDbRow> m_rows;
    int m_sortColumn = -1;
    bool m_descending = false;
};

} // namespace tabry
