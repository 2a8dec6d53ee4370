#include "edit/FileLock.h"

#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tabry {

namespace fs = std::filesystem;

LockHandle TakeFileLock(const fs::path& path, bool* busy)
{
    if (busy != nullptr)
        *busy = false;
#if defined(_WIN32)
    // Opening without sharing reads or writes is the lock: a second open
    // fails until the holder closes (or dies). Deleting is shared, so that
    // the holder can remove the lock file as on POSIX.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (busy != nullptr)
            *busy = GetLastError() == ERROR_SHARING_VIOLATION;
        return nullptr;
    }
    return LockHandle(h, [](void* handle) { CloseHandle(static_cast<HANDLE>(handle)); });
#else
    // A lock file may be removed by whoever held it last between our open
    // and our lock: then the lock is on a file nobody else can find, and
    // the name is tried again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return nullptr;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (busy != nullptr)
                *busy = errno == EWOULDBLOCK;
            ::close(fd);
            return nullptr;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev
            && held.st_ino == named.st_ino)
            return LockHandle(new int(fd), [](void* p) {
                auto* fdp = static_cast<int*>(p);
                ::close(*fdp);
                delete fdp;
            });
        ::close(fd);
    }
    return nullptr;
#endif
}

LockHandle TakeRemovableLock(const fs::path& path, bool* busy)
{
    struct Held {
        fs::path path;
        LockHandle lock;
    };
    LockHandle lock = TakeFileLock(path, busy);
    if (!lock)
        return nullptr;
    return LockHandle(new Held{path, std::move(lock)}, [](void* p) {
        auto* held = static_cast<Held*>(p);
        std::error_code ignored;
        fs::remove(held->path, ignored);
        held->lock.reset();
        delete held;
    });
}

bool RemoveFreeLock(const fs::path& path)
{
    const LockHandle lock = TakeFileLock(path);
    if (!lock)
        return false;
    std::error_code ec;
    return fs::remove(path, ec);
}

} // namespace tabry
