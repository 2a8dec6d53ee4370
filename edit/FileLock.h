#pragma once
// Locks that tell running programs apart from ended ones: an exclusive
// operating-system lock on a small file, held as long as the handle lives.
// The system drops it when its holder dies, however it dies, so a lock file
// that nobody holds belongs to a run that has ended.

#include <filesystem>
#include <memory>

namespace tabry {

using LockHandle = std::shared_ptr<void>;

// Takes the lock of the file at `path` (made when missing). Null when
// another holder has it (then `busy` is set) or the file cannot be made.
LockHandle TakeFileLock(const std::filesystem::path& path, bool* busy = nullptr);

// The lock of `path`, which is removed when the handle is released (while
// still held, so that nobody takes a lock on a file on its way out).
LockHandle TakeRemovableLock(const std::filesystem::path& path, bool* busy = nullptr);

// Removes the lock file at `path` unless somebody holds it; true when it
// was removed.
bool RemoveFreeLock(const std::filesystem::path& path);

} // namespace tabry
