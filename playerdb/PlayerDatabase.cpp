#include "playerdb/PlayerDatabase.h"

#include "playerdb/PlayerText.h"
#include "text/Cp932.h"
#include "text/FileIo.h"
#include "text/LineString.h"

#include <algorithm>
#include <array>

namespace tabry {

namespace {

const CPlayerRecord kEmptyRecord;

// The comma fields of a line as CLineString::Split cuts them (empty fields
// count, a comma at the very end adds none), without copying the line: a
// database can hold a million of them. Only the first six are kept.
int SplitRecordFields(std::string_view line, std::array<std::string_view, 6>& fields)
{
    fields.fill({});
    int count = 0;
    size_t p = 0;
    while (p < line.size()) {
        size_t q = line.find(',', p);
        if (q == std::string_view::npos)
            q = line.size();
        if (count < static_cast<int>(fields.size()))
            fields[static_cast<size_t>(count)] = line.substr(p, q - p);
        ++count;
        p = q < line.size() ? q + 1 : q;
    }
    return count;
}

} // namespace

CPlayerDatabase::CPlayerDatabase(const CPlayerDatabase& other)
{
    *this = other;
}

CPlayerDatabase& CPlayerDatabase::operator=(const CPlayerDatabase& other)
{
    if (this != &other) {
        m_records.clear();
        m_records.reserve(other.m_records.size());
        for (const auto& r : other.m_records)
            m_records.push_back(std::make_unique<CPlayerRecord>(*r));
        m_loadRefused = other.m_loadRefused;
    }
    return *this;
}

void CPlayerDatabase::Clear()
{
    m_records.clear();
    m_records.shrink_to_fit();
}

int CPlayerDatabase::Add(std::string_view longName, std::string_view inputName, std::string_view shortName,
                         std::string_view residence, int grade, std::string_view memberNumber)
{
    auto record = std::make_unique<CPlayerRecord>();
    record->m_longName = FoldLowerCase(longName);
    record->m_inputName = FoldLowerCase(inputName);
    record->m_shortName = FoldLowerCase(shortName);
    record->m_grade = grade;
    record->m_residence = std::string(residence);
    record->m_memberNumber = FoldLowerCase(memberNumber);
    m_records.push_back(std::move(record));
    return GetCount() - 1;
}

int CPlayerDatabase::AddByeRecord()
{
    return Add(SJ("不戦"), "pass", SJ("不戦"), "", 0, "");
}

void CPlayerDatabase::Reset()
{
    Clear();
    AddByeRecord();
}

int CPlayerDatabase::Find(std::string_view longName) const
{
    for (size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i]->m_longName == longName)
            return static_cast<int>(i);
    return -1;
}

CPlayerRecord& CPlayerDatabase::GetAt(int index)
{
    if (index < 0 || index >= GetCount()) {
        m_scratch = CPlayerRecord{};
        return m_scratch;
    }
    return *m_records[static_cast<size_t>(index)];
}

const CPlayerRecord& CPlayerDatabase::GetAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return kEmptyRecord;
    return *m_records[static_cast<size_t>(index)];
}

void CPlayerDatabase::SetAt(int index, const CPlayerRecord& record)
{
    if (index >= 0 && index < GetCount())
        *m_records[static_cast<size_t>(index)] = record;
}

std::vector<CPlayerRecord> CPlayerDatabase::Records() const
{
    std::vector<CPlayerRecord> out;
    out.reserve(m_records.size());
    for (const auto& r : m_records)
        out.push_back(*r);
    return out;
}

void CPlayerDatabase::AssignRecords(const std::vector<CPlayerRecord>& records)
{
    m_records.clear();
    m_records.reserve(records.size());
    for (const CPlayerRecord& r : records)
        m_records.push_back(std::make_unique<CPlayerRecord>(r));
}

void CPlayerDatabase::Truncate(int count)
{
    if (count >= 0 && count < GetCount())
        m_records.resize(static_cast<size_t>(count));
}

int CPlayerDatabase::Load(const std::filesystem::path& path, FileError* error)
{
    std::string data;
    const ReadStatus status = ReadFileBytes(path, data, kMaxPlayerDatabaseBytes, error);
    if (status != ReadStatus::Ok) {
        // A missing database is an empty one; anything else holds records
        // this run cannot see.
        m_loadRefused = status != ReadStatus::Missing;
        return -1;
    }
    const int line = LoadBytes(data);
    m_loadRefused = line != 0;
    if (line != 0) {
        if (error != nullptr) {
            *error = FileError{};
            error->step = FileStep::Read;
            error->problem = FileProblem::NulByte;
            error->path = path;
            error->line = line;
        }
        return -1;
    }
    return 0;
}

int CPlayerDatabase::LoadBytes(std::string_view data)
{
    if (const int line = FirstLineWithNul(data); line != 0)
        return line;
    // What Add does, with each field unescaped and folded in place: a
    // database can hold a million lines, and every copy counts there.
    m_records.reserve(m_records.size() + static_cast<size_t>(std::count(data.begin(), data.end(), '\n')) + 1);
    std::array<std::string_view, 6> fields;
    const auto text = [](std::string& out, std::string_view field, bool fold) {
        out = UnescapeField(field);
        if (fold)
            FoldLowerCaseInPlace(out);
    };
    for (const std::string_view line : SplitLines(data)) {
        if (SplitRecordFields(line, fields) < 4)
            continue;
        auto record = std::make_unique<CPlayerRecord>();
        text(record->m_longName, fields[0], true);
        text(record->m_shortName, fields[1], true);
        text(record->m_inputName, fields[2], true);
        record->m_grade = ParseDecimal(UnescapeField(fields[3]));
        text(record->m_residence, fields[4], false);
        text(record->m_memberNumber, fields[5], true);
        m_records.push_back(std::move(record));
    }
    return 0;
}

std::string CPlayerDatabase::SaveBytes(int firstIndex) const
{
    std::string out;
    for (int i = std::max(firstIndex, 0); i < GetCount(); ++i) {
        const CPlayerRecord& r = *m_records[static_cast<size_t>(i)];
        out += EscapeField(r.m_longName);
        out += ',';
        out += EscapeField(r.m_shortName);
        out += ',';
        out += EscapeField(r.m_inputName);
        out += ',';
        out += std::to_string(r.m_grade);
        out += ',';
        out += EscapeField(r.m_residence);
        out += ',';
        out += EscapeField(r.m_memberNumber);
        out += "\r\n";
    }
    return out;
}

int CPlayerDatabase::Save(const std::filesystem::path& path, int firstIndex, FileError* error) const
{
    if (m_loadRefused) {
        if (error != nullptr) {
            *error = FileError{};
            error->step = FileStep::Save;
            error->problem = FileProblem::Refused;
            error->path = path;
            error->systemText = "the database file could not be read, and writing would replace the records in it";
        }
        return -1;
    }
    return WriteFileAtomically(path, SaveBytes(firstIndex), error) ? 0 : -1;
}

} // namespace tabry
