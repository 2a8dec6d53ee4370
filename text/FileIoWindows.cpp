// Reading and atomic saving on Windows.
#include "text/FileIo.h"
#include "text/FileIoDetail.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <windows.h>

namespace tabry {

namespace fs = std::filesystem;

namespace {

// How often, and how long apart, a replacement refused because another
// program holds the file is tried again: a virus scanner or an indexer lets
// go within moments, an editor holding the file open does not.
constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplacePauseMs = 100;

std::string SystemReason(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    // English like every other message of the file layer; any language the
    // system has if English is not installed.
    DWORD n = FormatMessageW(flags, nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                             reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (n == 0)
        n = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = n > 0 ? PathText(fs::path(std::wstring(text, n))) : "system error " + std::to_string(code);
    if (text != nullptr)
        LocalFree(text);
    while (!reason.empty()
           && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

// The problem a system error code stands for. `creating`: the call made a
// new name, so a missing part of the path is a missing folder.
FileProblem ProblemOf(DWORD code, bool creating)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return creating ? FileProblem::FolderMissing : FileProblem::Missing;
    case ERROR_ACCESS_DENIED:
        return FileProblem::NoPermission;
    case ERROR_WRITE_PROTECT:
        return FileProblem::ReadOnlyVolume;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileProblem::DiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileProblem::HeldByOtherProgram;
    default:
        return FileProblem::Other;
    }
}

// The failure of a system call with code `code`, in the system's words.
void SetSystemError(FileError* error, FileStep step, const fs::path& path, DWORD code, bool creating = false)
{
    detail::SetError(error, step, ProblemOf(code, creating), path, static_cast<int>(code), SystemReason(code));
}

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return m_h; }
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    void Reset(HANDLE h)
    {
        Close();
        m_h = h;
    }
    bool Close()
    {
        const bool ok = !Valid() || CloseHandle(m_h) != 0;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

bool IsMissing(DWORD code)
{
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

// Refusals that end when another program lets go of the file.
bool MayPass(DWORD code)
{
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED;
}

// Opens whatever is at `path` without reading it, to learn what it is.
HANDLE Probe(const fs::path& path)
{
    return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The file a symbolic link or junction leads to, or `path` itself.
fs::path FollowLinks(const fs::path& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const Handle h(Probe(path));
    if (!h.Valid())
        return path; // a link to nothing: the link itself is replaced
    std::wstring buf(32768, L'\0');
    const DWORD n = GetFinalPathNameByHandleW(h.Get(), buf.data(), static_cast<DWORD>(buf.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= buf.size())
        return path;
    buf.resize(n);
    return fs::path(buf);
}

// Removes what killed saves of `targetName` left in `dir`. A running save
// holds its temporary file open without sharing, so deleting that one fails.
void RemoveLeftovers(const fs::path& dir, const fs::path& targetName)
{
    const fs::path folder = dir.empty() ? fs::path(L".") : dir;
    const std::string target = PathText(targetName);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder / (targetName.native() + L".tmp*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0
            && detail::IsTemporaryNameOf(PathText(fs::path(found.cFileName)), target))
            DeleteFileW((folder / found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// The new file gets the old one's attributes (hidden, system, archive, not
// indexed) and its access list, as the POSIX side keeps mode and owner. The
// owner stays the user who saves: changing it needs a privilege.
void CopyAttributesAndAccess(const fs::path& from, const fs::path& to)
{
    const DWORD attributes = GetFileAttributesW(from.c_str());
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept) != 0)
        SetFileAttributesW(to.c_str(), attributes & kKept);
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
        return;
    std::vector<BYTE> descriptor(needed);
    if (GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool WriteAll(HANDLE h, std::string_view bytes, DWORD& code)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr)) {
            code = GetLastError();
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

ReadStatus ReadFileBytes(const fs::path& path, std::string& bytes, std::uintmax_t maxBytes, FileError* error)
{
    bytes.clear();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        detail::SetError(error, FileStep::Read, FileProblem::Folder, path);
        return ReadStatus::NotRegularFile;
    }
    const Handle h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.Valid()) {
        const DWORD code = GetLastError();
        SetSystemError(error, FileStep::Open, path, code);
        return IsMissing(code) ? ReadStatus::Missing : ReadStatus::Failed;
    }
    if (GetFileType(h.Get()) != FILE_TYPE_DISK) {
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
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.Get(), &size)) {
        SetSystemError(error, FileStep::Read, path, GetLastError());
        return ReadStatus::Failed;
    }
    if (static_cast<std::uintmax_t>(size.QuadPart) > limit)
        return tooLarge();

    std::string data(static_cast<size_t>(size.QuadPart) + 1, '\0');
    size_t have = 0;
    for (;;) {
        if (have == data.size()) {
            if (have > limit)
                return tooLarge();
            data.resize(static_cast<size_t>(std::min<std::uintmax_t>(have + 65536, limit + 1)));
        }
        const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - have, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(h.Get(), data.data() + have, want, &got, nullptr)) {
            SetSystemError(error, FileStep::Read, path, GetLastError());
            return ReadStatus::Failed;
        }
        if (got == 0)
            break;
        have += got;
    }
    if (have > limit)
        return tooLarge();
    data.resize(have);
    bytes = std::move(data);
    return ReadStatus::Ok;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, FileError* error, bool toDisk)
{
    const fs::path target = FollowLinks(path);
    bool exists = false;
    {
        // Opened, not only looked up: device names such as NUL or COM1 exist
        // in every folder and have no attributes to tell them by.
        const Handle h(Probe(target));
        if (h.Valid()) {
            BY_HANDLE_FILE_INFORMATION info{};
            if (!GetFileInformationByHandle(h.Get(), &info))
                info.dwFileAttributes = 0;
            if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                detail::SetError(error, FileStep::Replace, FileProblem::Folder, path);
                return false;
            }
            if (GetFileType(h.Get()) != FILE_TYPE_DISK) {
                detail::SetError(error, FileStep::Replace, FileProblem::NotRegular, path);
                return false;
            }
            // Windows refuses to replace it, and no retry would change that.
            if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
                detail::SetError(error, FileStep::Replace, FileProblem::ReadOnlyFile, path);
                return false;
            }
            exists = true;
        } else if (const DWORD code = GetLastError(); !IsMissing(code)) {
            exists = true; // there, but not even to be looked at: the replacement will say why
        }
    }

    const fs::path dir = target.parent_path();
    const fs::path name = target.filename();
    RemoveLeftovers(dir, name);

    // The temporary file is opened without sharing: a later save recognises
    // it as a running save's and leaves it alone.
    fs::path temp;
    Handle h;
    DWORD code = 0;
    for (int attempt = 0; attempt < 100 && !h.Valid(); ++attempt) {
        temp = dir / (name.native() + PathFromUtf8(detail::TemporarySuffix()).native());
        h.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        code = h.Valid() ? 0 : GetLastError();
        if (!h.Valid() && code != ERROR_FILE_EXISTS)
            break;
    }
    if (!h.Valid()) {
        SetSystemError(error, FileStep::Create, path, code, true);
        return false;
    }
    bool ok = WriteAll(h.Get(), bytes, code);
    // Flushed before the rename, so that the rename never publishes a file
    // whose bytes are still only in the cache.
    if (ok && toDisk && !FlushFileBuffers(h.Get())) {
        ok = false;
        code = GetLastError();
    }
    if (!h.Close() && ok) {
        ok = false;
        code = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        SetSystemError(error, FileStep::Write, path, code, true);
        return false;
    }

    if (exists)
        CopyAttributesAndAccess(target, temp);
    // One rename, atomic on NTFS. (ReplaceFileW would keep more of the old
    // file, but it is several steps, and when it fails it can leave the old
    // file under another name or gone.)
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        code = GetLastError();
        if (!MayPass(code) || attempt == kReplaceAttempts)
            break;
        Sleep(kReplacePauseMs);
    }
    DeleteFileW(temp.c_str());
    if (MayPass(code))
        detail::SetError(error, FileStep::Replace, FileProblem::HeldByOtherProgram, path, static_cast<int>(code),
                         SystemReason(code));
    else
        SetSystemError(error, FileStep::Replace, path, code, true);
    return false;
}

} // namespace tabry
