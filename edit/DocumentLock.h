#pragma once
// One tournament file, one window: every running program holds a lock for
// each tournament file it has open, so that a second program opening the
// same file learns of the first. The locks live in a folder of the user's
// own (the tournament's folder may be read-only or on a share), one small
// file per tournament, named by a hash of the file's canonical path.

#include "edit/FileLock.h"

#include <filesystem>

namespace tabry {

class CDocumentLocks {
public:
    // The locks live in `folder` (made when needed).
    explicit CDocumentLocks(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    enum class Outcome {
        Taken,         // this program holds the file now
        HeldElsewhere, // another running program holds it
        Unavailable,   // no lock can be made here (the folder cannot be written): nobody can tell
    };
    // Takes the lock of `document`; `lock` holds it (and its lock file goes
    // with it) as long as it lives.
    Outcome Take(const std::filesystem::path& document, LockHandle& lock) const;

    // The lock file of `document`.
    std::filesystem::path LockPath(const std::filesystem::path& document) const;

    // Removes the lock files that no running program holds (left by runs
    // that were killed).
    void RemoveStale() const;

private:
    std::filesystem::path m_folder;
};

} // namespace tabry
