#include "text/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace tabry {

namespace fs = std::filesystem;

namespace {

void SetError(std::string* error, const std::string& what, int err)
{
    if (error != nullptr)
        *error = what + ": " + std::generic_category().message(err);
}

// Flushes a written file to the disk before it replaces the old one, so that
// the rename never publishes a file whose bytes are still only in the cache.
bool SyncFile(std::FILE* f)
{
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

std::string TempSuffix()
{
    std::random_device rd;
    char buf[32];
    std::snprintf(buf, sizeof buf, ".tmp%08x", static_cast<unsigned>(rd()));
    return buf;
}

} // namespace

bool ReadFileBytes(const fs::path& path, std::string& bytes, std::string* error)
{
    bytes.clear();
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        SetError(error, "cannot read " + path.string(), EISDIR);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetError(error, "cannot open " + path.string(), errno != 0 ? errno : ENOENT);
        return false;
    }
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0)
        bytes.append(buf, static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        SetError(error, "cannot read " + path.string(), EIO);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string* error)
{
    const fs::path temp = path.string() + TempSuffix();
#if defined(_WIN32)
    std::FILE* f = _wfopen(temp.c_str(), L"wb");
#else
    std::FILE* f = std::fopen(temp.c_str(), "wb");
#endif
    if (f == nullptr) {
        SetError(error, "cannot create " + path.string(), errno);
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = ok ? 0 : errno;
    if (ok && std::fflush(f) != 0) {
        ok = false;
        err = errno;
    }
    if (ok && !SyncFile(f)) {
        ok = false;
        err = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        SetError(error, "cannot write " + path.string(), err != 0 ? err : EIO);
        return false;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        if (error != nullptr)
            *error = "cannot replace " + path.string() + ": " + ec.message();
        return false;
    }
    return true;
}

fs::path ExecutablePath(const char* argv0)
{
    std::error_code ec;
#if defined(_WIN32)
    wchar_t buf[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    if (n > 0 && n < std::size(buf))
        return fs::path(std::wstring(buf, n));
#elif defined(__APPLE__)
    char buf[4096];
    uint32_t size = sizeof buf;
    if (_NSGetExecutablePath(buf, &size) == 0)
        return fs::weakly_canonical(fs::path(buf), ec);
#else
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self;
#endif
    if (argv0 != nullptr && *argv0 != '\0')
        return fs::absolute(fs::path(argv0), ec);
    return {};
}

} // namespace tabry
