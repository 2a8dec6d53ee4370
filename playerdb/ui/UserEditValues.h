#pragma once
// The values the add/edit user dialog exchanges with whoever opens it. A
// caller fills the struct, runs the dialog and, after OK, reads it back and
// applies it; the dialog itself never touches the player database. Plain
// Shift_JIS bytes, no Qt, so the callers' logic is testable on its own.

#include "playerdb/PlayerDatabase.h"

#include <optional>
#include <string>
#include <string_view>

namespace tabry {

class CPlayerDatabase;
struct CPlayerRecord;

struct UserEditValues {
    // Index of the record being edited, or -1 for a new person. Decides the
    // title, the first focus and which record the duplicate check ignores.
    int recordIndex = -1;

    std::string longName;
    std::string shortName;
    std::string inputName;
    std::string memberNumber;
    std::string residence;

    // Position in the grade list (GradeComboTexts), -1 for no selection.
    int gradeIndex = -1;
    // Prefecture number of the residence item to select at opening, -1 none.
    int residencePreselection = -1;

    // The grade code the values were filled from, when they were. The grade
    // list cannot show every code (6 to 9 kyu, hand-edited values); as long
    // as the list still shows what this code opened as, the code is kept
    // instead of being replaced by the list's reading.
    std::optional<int> sourceGrade;
};

// Values for editing an existing record: texts as stored, the grade list at
// the record's grade, the residence preselected when it names a prefecture.
UserEditValues ValuesFromRecord(const CPlayerRecord& record, int recordIndex);

// Values for a new person whose name was typed in the grid: long and input
// name both the typed text, "初段" preselected (the dialog proposes the
// short name).
UserEditValues ValuesForTypedName(std::string_view typed);

// The short name proposed for a long name (Shift_JIS): its family name, the
// part before the first blank (half- or full-width) once the name is
// trimmed; the whole trimmed name when it has no blank.
std::string ProposedShortName(std::string_view longName);

// The grade code the values stand for: no selection is no grade (0), an
// unchanged selection keeps `sourceGrade`, anything else is the list's code.
int GradeCodeOf(const UserEditValues& values);

// A record of the values as typed (the database folds the names when the
// record is added).
CPlayerRecord RecordFromValues(const UserEditValues& values);

// Overwrites an existing record with the values, folding the same fields
// that Add folds so a record edited in place is found by the same searches as
// one added fresh.
void StoreValuesInRecord(const UserEditValues& values, CPlayerRecord& record);

} // namespace tabry
