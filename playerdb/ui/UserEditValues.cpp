#include "playerdb/ui/UserEditValues.h"

#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"
#include "text/Cp932.h"

namespace tabry {

UserEditValues ValuesFromRecord(const CPlayerRecord& record, int recordIndex)
{
    UserEditValues v;
    v.recordIndex = recordIndex;
    v.longName = record.m_longName;
    v.shortName = record.m_shortName;
    v.inputName = record.m_inputName;
    v.memberNumber = record.m_memberNumber;
    v.residence = record.m_residence;
    v.gradeIndex = GradeToComboIndex(record.m_grade);
    v.residencePreselection = PrefectureIndexOfText(record.m_residence);
    v.sourceGrade = record.m_grade;
    return v;
}

UserEditValues ValuesForTypedName(std::string_view typed)
{
    UserEditValues v;
    v.longName = std::string(typed);
    v.inputName = std::string(typed);
    v.gradeIndex = GradeToComboIndex(1);
    return v;
}

std::string ProposedShortName(std::string_view longName)
{
    const std::string& wideBlank = SJ("　");
    auto blankAt = [&](size_t pos, int length) {
        return longName[pos] == ' ' || longName[pos] == '\t'
               || longName.substr(pos, static_cast<size_t>(length)) == wideBlank;
    };
    size_t start = 0;
    while (start < longName.size() && blankAt(start, cp932::CharLength(longName, start)))
        start += static_cast<size_t>(cp932::CharLength(longName, start));
    size_t end = start;
    while (end < longName.size() && !blankAt(end, cp932::CharLength(longName, end)))
        end += static_cast<size_t>(cp932::CharLength(longName, end));
    return std::string(longName.substr(start, end - start));
}

int GradeCodeOf(const UserEditValues& values)
{
    if (values.sourceGrade && GradeToComboIndex(*values.sourceGrade) == values.gradeIndex)
        return *values.sourceGrade;
    // GradeFromComboIndex reads -1 as the first item (nine dan); a list with
    // nothing chosen means no grade.
    if (values.gradeIndex < 0)
        return 0;
    return GradeFromComboIndex(values.gradeIndex);
}

CPlayerRecord RecordFromValues(const UserEditValues& values)
{
    CPlayerRecord record;
    record.m_longName = values.longName;
    record.m_inputName = values.inputName;
    record.m_shortName = values.shortName;
    record.m_residence = values.residence;
    record.m_grade = GradeCodeOf(values);
    record.m_memberNumber = values.memberNumber;
    return record;
}

void StoreValuesInRecord(const UserEditValues& values, CPlayerRecord& record)
{
    record.m_longName = FoldLowerCase(values.longName);
    record.m_inputName = FoldLowerCase(values.inputName);
    record.m_shortName = FoldLowerCase(values.shortName);
    record.m_memberNumber = FoldLowerCase(values.memberNumber);
    record.m_residence = values.residence;
    record.m_grade = GradeCodeOf(values);
}

} // namespace tabry
