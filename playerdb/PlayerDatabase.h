#pragma once
// The people who can be entered into a tournament table. A table row names its
// player by the index of a record here, so the order of the records matters;
// index 0 is always the built-in bye record, which is never written to a file.

#include "text/FileIo.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

struct CPlayerRecord {
    std::string m_longName;     // long display name; the key of Find
    std::string m_inputName;    // typed in the grid to find the person
    std::string m_shortName;    // short display name
    int m_grade = 0;            // 1..9 dan, -1..-9 kyu, 0 none
    std::string m_residence;    // normally a prefecture name, any text accepted
    std::string m_memberNumber; // federation member number (a text)
    friend bool operator==(const CPlayerRecord&, const CPlayerRecord&) = default;
};

// The largest "player.db" that is read: about a million players at 250 bytes
// a line, far beyond any real federation's list. Anything larger is no
// database; reading it would only exhaust the memory.
inline constexpr std::uintmax_t kMaxPlayerDatabaseBytes = 256u << 20;

class CPlayerDatabase {
public:
    CPlayerDatabase() = default;
    CPlayerDatabase(const CPlayerDatabase& other);
    CPlayerDatabase& operator=(const CPlayerDatabase& other);
    CPlayerDatabase(CPlayerDatabase&&) noexcept = default;
    CPlayerDatabase& operator=(CPlayerDatabase&&) noexcept = default;
    virtual ~CPlayerDatabase() = default;

    void Clear();
    // Appends a record; the long name, input name, short name and member number
    // are folded to lower case, residence and grade are stored as given.
    // Returns the new index (the count before the call). No duplicate check.
    int Add(std::string_view longName, std::string_view inputName, std::string_view shortName,
            std::string_view residence, int grade, std::string_view memberNumber);
    // Adds the bye record ("不戦", input name "pass"), which belongs at index 0.
    int AddByeRecord();
    // Clear, then the bye record: the state before a file is loaded.
    void Reset();

    // Lowest index whose long name equals `longName` byte for byte, or -1.
    int Find(std::string_view longName) const;
    int GetCount() const { return static_cast<int>(m_records.size()); }
    // The record at `index`; an index out of range gives a shared empty record
    // (reads only: a write through it is undone by the next such call).
    CPlayerRecord& GetAt(int index);
    const CPlayerRecord& GetAt(int index) const;

    // Records exactly as given, nothing folded: for putting back a state that
    // was taken from this database (undo, redo, recovery).
    // Replaces record `index` (in range) with `record`.
    void SetAt(int index, const CPlayerRecord& record);
    // Copies of every record, bye record included.
    std::vector<CPlayerRecord> Records() const;
    // Replaces every record, bye record included.
    void AssignRecords(const std::vector<CPlayerRecord>& records);
    // Drops the records from index `count` on (those added since the
    // database held `count`).
    void Truncate(int count);

    // Appends the records of a "player.db" file. -1 when the file cannot be
    // read or holds a NUL byte (FileProblem::NulByte with the line): the
    // database is unchanged and `error` says why. Else 0.
    int Load(const std::filesystem::path& path, FileError* error = nullptr);
    // Appends the records of "player.db" bytes. Bytes with a NUL byte are
    // refused whole, and the number of the first line holding one is
    // returned; else 0.
    int LoadBytes(std::string_view data);
    // True after a Load that refused a file that exists: its records were
    // never read, so Save refuses to write the database from then on rather
    // than replace them (also after Reset). The next Load decides anew.
    bool LoadRefused() const { return m_loadRefused; }
    // Writes records `firstIndex`.. to a "player.db" file, replacing it
    // atomically. -1 (with the reason in `error`) when it cannot be written
    // or LoadRefused() holds (FileProblem::Refused).
    int Save(const std::filesystem::path& path, int firstIndex, FileError* error = nullptr) const;
    // The "player.db" bytes of records `firstIndex`..
    std::string SaveBytes(int firstIndex) const;

private:
    std::vector<std::unique_ptr<CPlayerRecord>> m_records;
    CPlayerRecord m_scratch;
    bool m_loadRefused = false;
};

} // namespace tabry
