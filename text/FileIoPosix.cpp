// Reading and atomic saving on POSIX systems.
#include "text/FileIo.h"
#include "text/FileIoDetail.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tabry {

namespace fs = std::filesystem;

namespace {

std::string SystemReason(int err)
{
    return std::generic_category().message(err);
}

// The problem an errno value stands for. `creating`: the call made a new
// name, so a missing part of the path is a missing folder.
FileProblem ProblemOf(int err, bool creating)
{
    switch (err) {
    case ENOENT:
        return creating ? FileProblem::FolderMissing : FileProblem::Missing;
    case EACCES:
    case EPERM:
        return FileProblem::NoPermission;
    case EROFS:
        return FileProblem::ReadOnlyVolume;
    case ENOSPC:
    case EDQUOT:
        return FileProblem::DiskFull;
    case ENOTDIR:
        return FileProblem::NotAFolderOnPath;
    case EISDIR:
        return FileProblem::Folder;
    default:
        return FileProblem::Other;
    }
}

// The failure of a system call with errno `err`, in the system's words.
void SetSystemError(FileError* error, FileStep step, const fs::path& path, int err, bool creating = false)
{
    detail::SetError(error, step, ProblemOf(err, creating), path, err, SystemReason(err));
}

// Owns a file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::string_view bytes, int& err)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The file a chain of symbolic links ends at. A link to nothing ends at the
// name it gives, where the save then creates the file. 0 or an errno value.
int FollowLinks(const fs::path& path, fs::path& target)
{
    target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return 0;
        std::error_code ec;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            return ec.value();
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return ELOOP;
}

// Removes what killed saves of `targetName` left in `dir`. A running save
// holds a lock on its temporary file, so only files nobody locks are taken.
void RemoveLeftovers(const fs::path& dir, const std::string& targetName)
{
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr)
        return;
    while (const dirent* entry = ::readdir(d)) {
        if (!detail::IsTemporaryNameOf(entry->d_name, targetName))
            continue;
        const fs::path leftover = dir / entry->d_name;
        const Descriptor fd(::open(leftover.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
        struct stat st {};
        if (fd.Valid() && ::fstat(fd.Get(), &st) == 0 && S_ISREG(st.st_mode)
            && ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(leftover.c_str());
    }
    ::closedir(d);
}

// The new file's permissions, owner and group copied from the old one, before
// any byte is written. Changing the owner needs privileges a normal user does
// not have; the group is kept where the user belongs to it.
void CopyOwnerAndMode(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Not allowed: the file belongs to the user who saves it.
    }
    // After fchown, which may clear the set-id bits.
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        // A file system without permissions (e.g. FAT): nothing to keep.
    }
}

struct Temporary {
    Descriptor fd;
    fs::path name; // empty while the file has no name
};

enum class Outcome { Done, Unsupported, Failed };

// Creates the temporary file in `dir` and writes `bytes` into it, flushed to
// the disk with `toDisk`. With `unnamed` the file is made without a name
// (O_TMPFILE) and linked under its temporary name only once complete, so a
// save killed while writing leaves nothing; Unsupported then means: try
// again with a named file.
Outcome WriteTemporary(const fs::path& dir, const std::string& targetName, std::string_view bytes,
                       const struct stat* old, bool unnamed, bool toDisk, Temporary& temp, int& err)
{
    const mode_t mode = old != nullptr ? 0600 : 0666; // a new file: 0666 less the umask
    const fs::path folder = dir.empty() ? fs::path(".") : dir;
    if (unnamed) {
#if defined(O_TMPFILE)
        temp.fd.Reset(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
#endif
        if (!temp.fd.Valid())
            return Outcome::Unsupported;
    } else {
        for (int attempt = 0; attempt < 100 && !temp.fd.Valid(); ++attempt) {
            temp.name = dir / (targetName + detail::TemporarySuffix());
            temp.fd.Reset(::open(temp.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
            if (!temp.fd.Valid() && errno != EEXIST)
                break;
        }
        if (!temp.fd.Valid()) {
            err = errno;
            temp.name.clear();
            return Outcome::Failed;
        }
    }
    // Marks the file as a running save's for RemoveLeftovers; the lock goes
    // with the descriptor, also when the process is killed.
    if (::flock(temp.fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        // Locks unsupported here: the file is still unnamed or just created.
    }
    if (old != nullptr)
        CopyOwnerAndMode(temp.fd.Get(), *old);
    if (!WriteAll(temp.fd.Get(), bytes, err))
        return Outcome::Failed;
    // Flushed before the rename, so that the rename never publishes a file
    // whose bytes are still only in the cache.
    if (toDisk && ::fsync(temp.fd.Get()) != 0) {
        err = errno;
        return Outcome::Failed;
    }
    if (!unnamed)
        return Outcome::Done;

    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", temp.fd.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp.name = dir / (targetName + detail::TemporarySuffix());
        if (::linkat(AT_FDCWD, self, AT_FDCWD, temp.name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return Outcome::Done;
        if (errno != EEXIST)
            break;
    }
    temp.name.clear();
    return Outcome::Unsupported; // no /proc, or linking refused: write a named file instead
}

} // namespace

ReadStatus ReadFileBytes(const fs::path& path, std::string& bytes, std::uintmax_t maxBytes, FileError* error)
{
    bytes.clear();
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.Valid()) {
        const int err = errno;
        SetSystemError(error, FileStep::Open, path, err);
        return err == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) {
        SetSystemError(error, FileStep::Read, path, errno);
        return ReadStatus::Failed;
    }
    if (S_ISDIR(st.st_mode)) {
        SetSystemError(error, FileStep::Read, path, EISDIR);
        return ReadStatus::NotRegularFile;
    }
    if (!S_ISREG(st.st_mode)) {
        detail::SetError(error, FileStep::Read, FileProblem::NotRegular, path);
        return ReadStatus::NotRegularFile;
    }
    const std::uintmax_t limit = std::min<std::uintmax_t>(maxBytes, bytes.max_size() - 1);
    const auto tooLarge = [&] {
        detail::SetError(error, FileStep::Read, FileProblem::TooLarge, path);
        if (error != nullptr)
            error->limit = limit;
        return ReadStatus::TooLarge;
    };
    if (static_cast<std::uintmax_t>(st.st_size) > limit)
        return tooLarge();

    // One byte beyond the size, to see the end, or a file that grew.
    std::string data(static_cast<size_t>(st.st_size) + 1, '\0');
    size_t have = 0;
    for (;;) {
        if (have == data.size()) {
            if (have > limit)
                return tooLarge();
            data.resize(static_cast<size_t>(std::min<std::uintmax_t>(have + 65536, limit + 1)));
        }
        const ssize_t n = ::read(fd.Get(), data.data() + have, data.size() - have);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetSystemError(error, FileStep::Read, path, errno);
            return ReadStatus::Failed;
        }
        if (n == 0)
            break;
        have += static_cast<size_t>(n);
    }
    if (have > limit)
        return tooLarge();
    data.resize(have);
    bytes = std::move(data);
    return ReadStatus::Ok;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, FileError* error, bool toDisk)
{
    fs::path target;
    if (const int err = FollowLinks(path, target); err != 0) {
        SetSystemError(error, FileStep::Save, path, err, true);
        return false;
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        SetSystemError(error, FileStep::Save, path, errno, true);
        return false;
    }
    if (exists && S_ISDIR(old.st_mode)) {
        SetSystemError(error, FileStep::Replace, path, EISDIR);
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        detail::SetError(error, FileStep::Replace, FileProblem::NotRegular, path);
        return false;
    }

    const fs::path dir = target.parent_path();
    const std::string name = target.filename().native();
    RemoveLeftovers(dir, name);

    const struct stat* keep = exists ? &old : nullptr;
    int err = 0;
    Temporary unnamed;
    Temporary named;
    Temporary* temp = &unnamed;
    Outcome outcome = WriteTemporary(dir, name, bytes, keep, true, toDisk, unnamed, err);
    if (outcome == Outcome::Unsupported) {
        unnamed.fd.Reset();
        temp = &named;
        outcome = WriteTemporary(dir, name, bytes, keep, false, toDisk, named, err);
    }
    if (outcome != Outcome::Done) {
        if (!temp->name.empty())
            ::unlink(temp->name.c_str());
        SetSystemError(error, temp->fd.Valid() ? FileStep::Write : FileStep::Create, path, err != 0 ? err : EIO, true);
        return false;
    }
    if (::rename(temp->name.c_str(), target.c_str()) != 0) {
        err = errno;
        ::unlink(temp->name.c_str());
        SetSystemError(error, FileStep::Replace, path, err, true);
        return false;
    }
    return true;
}

} // namespace tabry
