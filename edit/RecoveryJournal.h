#pragma once
// The crash journal: after every completed change the tournament as it now
// stands is on disk in a recovery file of this run, so that a program killed
// mid-event loses nothing that was committed. The file is an ordinary
// tournament file (any reader opens it) with two more details lines that say
// which document it belongs to and when it last changed. Each run holds a
// lock beside its file; a recovery file whose lock is free belongs to a run
// that ended without removing it (a crash), and is offered back at the next
// start. A declined file is moved aside under a dated name, never deleted.

#include "core/TournamentData.h"
#include "text/FileIo.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

class CTournamentEditor;

// A recovery file left by a run that ended without removing it.
struct RecoveryFile {
    std::filesystem::path path;     // the recovery file itself
    std::filesystem::path document; // the tournament's own file; empty when never saved
    std::int64_t changedAt = 0;     // the last change, seconds since 1970 (UTC)
    // Held while the file is being offered, so that two runs starting at
    // once do not both offer (and both restore) the same file.
    std::shared_ptr<void> claim;
};

class CRecoveryJournal {
public:
    // The journal of this run lives in `folder` (created on the first write).
    explicit CRecoveryJournal(std::filesystem::path folder);
    // Releases the lock; the file stays unless Remove() was called, so a
    // run that ends uncleanly leaves it for the next start.
    ~CRecoveryJournal();
    CRecoveryJournal(const CRecoveryJournal&) = delete;
    CRecoveryJournal& operator=(const CRecoveryJournal&) = delete;

    // Whether each write waits for the disk (the default). Without it a
    // killed program still leaves a whole file; only a power failure can
    // lose the last writes.
    void SetFlushToDisk(bool flush) { m_flush = flush; }

    // The document the journal stands for; empty for a tournament never saved.
    void SetDocument(const std::filesystem::path& document) { m_document = document; }
    const std::filesystem::path& Document() const { return m_document; }

    // Writes `stg` (the tournament's bytes) as this run's recovery file,
    // atomically: a reader finds the previous state or this one, never a mix.
    bool Write(std::string_view stg, std::int64_t changedAt, FileError* error = nullptr);
    // Writes the reports waiting for the desk (the bytes of
    // CReportInbox::Serialize) beside the recovery file, atomically; empty
    // bytes remove them. The caller keeps a recovery file written while
    // reports wait (CJournalKeeper does), so that the next start finds them.
    bool WriteReports(std::string_view bytes, FileError* error = nullptr);
    // Removes this run's recovery file and the reports beside it (saved,
    // discarded, clean exit).
    void Remove();
    // This run's recovery file, which exists only between Write and Remove.
    const std::filesystem::path& Path() const { return m_path; }
    bool Exists() const { return m_written; }

    // Recovery files in `folder` whose run has ended, newest change first.
    // Each comes claimed (see RecoveryFile::claim).
    static std::vector<RecoveryFile> FindOrphans(const std::filesystem::path& folder);
    // The bytes of a recovery file (a tournament file) and what its details
    // lines say about it. False when it cannot be read.
    static bool Read(const std::filesystem::path& path, std::string& bytes, RecoveryFile* about = nullptr,
                     FileError* error = nullptr);
    // The waiting reports written beside a recovery file, at most 1 MiB;
    // false when there are none (or they cannot be read).
    static bool ReadReports(const std::filesystem::path& recovery, std::string& bytes);
    // Where the reports beside a recovery file are kept.
    static std::filesystem::path ReportsPathOf(const std::filesystem::path& recovery);
    // Moves a declined recovery file (and its reports) "kept/<name>-YYYYMMDD-HHMMSS.stg" in
    // its folder (a number added when that exists) and returns the new path;
    // empty (with a reason) when it could not be moved, in which case it
    // stays where it is.
    static std::filesystem::path SetAside(const RecoveryFile& file, std::string* error = nullptr);
    // Removes a recovery file whose state was restored (and written again
    // by the new run's journal), and its reports.
    static void Discard(const RecoveryFile& file);
    // Removes the lock files in `folder` that runs which ended left without
    // a recovery file (the lock files of recovery files stay: a free one is
    // how such a file is known as an ended run's).
    static void RemoveStaleLocks(const std::filesystem::path& folder);

    // The tournament bytes with the journal's details lines added.
    static std::string Compose(std::string_view stg, const std::filesystem::path& document, std::int64_t changedAt);

private:
    bool Lock();
    // Lock(), with the reason in `error` when it fails.
    bool LockOrSay(FileError* error);

    std::filesystem::path m_folder;
    std::filesystem::path m_path;
    std::filesystem::path m_lockPath;
    std::filesystem::path m_document;
    std::shared_ptr<void> m_lock;
    bool m_written = false;
    bool m_reportsWritten = false;
    bool m_flush = true;
};

// Keeps a journal in step with an editor: after every change the tournament
// is written to the journal, unless it equals what was last opened or saved,
// in which case there is nothing to recover and the journal is removed.
class CJournalKeeper {
public:
    using Clock = std::function<std::int64_t()>;

    // `clock` gives the time of a change (seconds since 1970); the system
    // clock when empty.
    CJournalKeeper(CTournamentEditor& editor, CRecoveryJournal& journal, Clock clock = {});
    ~CJournalKeeper();
    CJournalKeeper(const CJournalKeeper&) = delete;
    CJournalKeeper& operator=(const CJournalKeeper&) = delete;

    // Runs `task` later, but before the program takes its next input: the
    // desktop program posts it to its event loop, so that the grid repaints
    // a change before the journal writes it. Without one (the default) the
    // journal is written within the change.
    using Scheduler = std::function<void(std::function<void()> task)>;
    void SetScheduler(Scheduler scheduler) { m_scheduler = std::move(scheduler); }
    // Writes what a scheduled write would have written, now.
    void Flush();
    // Writes the tournament as it stands now unless it is what its file
    // holds, scheduled or not (before the program ends unexpectedly).
    void WriteNow();

    // The reports waiting for the desk as CReportInbox::Serialize gives them,
    // empty when none wait; called after every change of the waiting list.
    // While reports wait the recovery file is kept, even when the tournament
    // is what its file holds, and the reports are written beside it.
    void SetWaitingReports(std::string bytes);

    // The tournament as it stands is what its file holds (opened or saved).
    void MarkSaved();
    // The tournament as it stands is in no file (restored from a journal):
    // it is written to the journal now.
    void MarkUnsaved();
    // Why the last journal write failed; no problem when it did not.
    const FileError& LastError() const { return m_error; }

private:
    void Sync();

    CTournamentEditor& m_editor;
    CRecoveryJournal& m_journal;
    Clock m_clock;
    Scheduler m_scheduler;
    bool m_pending = false;
    // Alive as long as the keeper: a write scheduled for later checks it.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    int m_listener = 0;
    bool m_hasSaved = false;
    std::uint64_t m_savedHash = 0;
    std::size_t m_savedSize = 0;
    std::string m_reports;
    FileError m_error;
};

} // namespace tabry
