// The platform-neutral part of the file I/O; reading and saving live in
// FileIoPosix.cpp and FileIoWindows.cpp.
#include "text/FileIo.h"
#include "text/FileIoDetail.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace tabry {

namespace fs = std::filesystem;

namespace detail {

std::string TemporarySuffix()
{
    // One device per call: these are rare, and a fresh device draws from the
    // system's entropy, so two programs saving the same file at once do not
    // follow the same sequence of names.
    std::random_device rd;
    char buf[16];
    std::snprintf(buf, sizeof buf, ".tmp%08x", static_cast<unsigned>(rd()));
    return buf;
}

bool IsTemporaryNameOf(std::string_view name, std::string_view targetName)
{
    constexpr std::string_view kMarker = ".tmp";
    if (targetName.empty() || name.size() != targetName.size() + kMarker.size() + 8
        || name.substr(0, targetName.size()) != targetName || name.substr(targetName.size(), kMarker.size()) != kMarker)
        return false;
    for (const char c : name.substr(targetName.size() + kMarker.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

void SetError(FileError* error, FileStep step, FileProblem problem, const fs::path& path, int systemCode,
              std::string systemText)
{
    if (error == nullptr)
        return;
    *error = FileError{};
    error->step = step;
    error->problem = problem;
    error->path = path;
    error->systemCode = systemCode;
    error->systemText = std::move(systemText);
}

} // namespace detail

namespace {

const char* StepText(FileStep step)
{
    switch (step) {
    case FileStep::Open:
        return "cannot open";
    case FileStep::Read:
        return "cannot read";
    case FileStep::Save:
        return "cannot save";
    case FileStep::Create:
        return "cannot create";
    case FileStep::Write:
        return "cannot write";
    case FileStep::Replace:
        return "cannot replace";
    case FileStep::CreateFolder:
        return "cannot create the folder";
    case FileStep::None:
        break;
    }
    return "cannot use";
}

// The English of a problem the system gave no words for.
std::string ProblemText(const FileError& e)
{
    switch (e.problem) {
    case FileProblem::Missing:
        return "no such file";
    case FileProblem::Folder:
        return "it is a folder";
    case FileProblem::NotRegular:
        return "not a regular file (a device, pipe or socket)";
    case FileProblem::TooLarge:
        return "larger than " + std::to_string(e.limit) + " bytes";
    case FileProblem::NoPermission:
        return "permission denied";
    case FileProblem::ReadOnlyVolume:
        return "the disk is read-only";
    case FileProblem::ReadOnlyFile:
        return "the file is read-only";
    case FileProblem::DiskFull:
        return "the disk is full";
    case FileProblem::FolderMissing:
        return "the folder does not exist";
    case FileProblem::NotAFolderOnPath:
        return "a file stands where the path needs a folder";
    case FileProblem::HeldByOtherProgram:
        return "the file is open in another program that does not let it be replaced";
    case FileProblem::NulByte:
        return "line " + std::to_string(e.line) + " holds a NUL byte";
    case FileProblem::Refused:
        return "refused";
    case FileProblem::None:
    case FileProblem::Other:
        break;
    }
    return e.systemCode != 0 ? "system error " + std::to_string(e.systemCode) : std::string("failed");
}

} // namespace

std::string FileErrorText(const FileError& error)
{
    std::string reason = error.systemText.empty() ? ProblemText(error) : error.systemText;
    if (error.problem == FileProblem::HeldByOtherProgram && !error.systemText.empty())
        reason = ProblemText(error) + " (" + error.systemText + ")";
    return std::string(StepText(error.step)) + " " + PathText(error.path) + ": " + reason;
}

ReadStatus ReadFileBytes(const fs::path& path, std::string& bytes, std::uintmax_t maxBytes, std::string* error)
{
    FileError e;
    const ReadStatus status = ReadFileBytes(path, bytes, maxBytes, &e);
    if (error != nullptr && status != ReadStatus::Ok)
        *error = FileErrorText(e);
    return status;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string* error, bool toDisk)
{
    FileError e;
    const bool ok = WriteFileAtomically(path, bytes, &e, toDisk);
    if (error != nullptr && !ok)
        *error = FileErrorText(e);
    return ok;
}

namespace {
// Whether the nearest part of `folder` that exists is a file. Windows
// answers "path not found" where POSIX says "not a directory", so the disk
// is asked rather than the error code.
bool FileOnTheWay(const fs::path& folder)
{
    std::error_code ec;
    for (fs::path p = folder; !p.empty() && p != p.root_path(); p = p.parent_path()) {
        const fs::file_status status = fs::status(p, ec);
        if (fs::exists(status))
            return !fs::is_directory(status);
    }
    return false;
}
} // namespace

bool CreateFolders(const fs::path& folder, FileError* error)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (fs::is_directory(folder, ec))
        return true;
    FileProblem problem = FileProblem::Other;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        problem = FileProblem::NoPermission;
    else if (ec == std::errc::read_only_file_system)
        problem = FileProblem::ReadOnlyVolume;
    else if (ec == std::errc::no_space_on_device)
        problem = FileProblem::DiskFull;
    else if (ec == std::errc::not_a_directory || ec == std::errc::file_exists || !ec)
        problem = FileProblem::NotAFolderOnPath;
    else if (ec == std::errc::no_such_file_or_directory)
        problem = FileOnTheWay(folder) ? FileProblem::NotAFolderOnPath : FileProblem::FolderMissing;
    detail::SetError(error, FileStep::CreateFolder, problem, folder, ec.value(), ec ? ec.message() : std::string());
    return false;
}

std::uint64_t ContentHash(std::string_view bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

FileStamp StampOf(const fs::path& path, std::string_view bytes)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = bytes.size();
    stamp.hash = ContentHash(bytes);
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(path, ec);
    if (!ec)
        stamp.modified = static_cast<std::int64_t>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
    return stamp;
}

FileStamp StampOnDisk(const fs::path& path, std::uintmax_t maxBytes)
{
    std::string bytes;
    const ReadStatus status = ReadFileBytes(path, bytes, maxBytes, static_cast<FileError*>(nullptr));
    if (status == ReadStatus::Ok)
        return StampOf(path, bytes);
    FileStamp stamp;
    std::error_code ec;
    stamp.exists = status != ReadStatus::Missing && fs::exists(path, ec);
    if (stamp.exists) {
        stamp.size = fs::file_size(path, ec);
        if (ec)
            stamp.size = 0;
    }
    return stamp;
}

std::string PathText(const fs::path& path)
{
#if defined(_WIN32)
    // Unpaired surrogates, which Windows allows in names, become U+FFFD
    // instead of an exception.
    const std::wstring& wide = path.native();
    if (wide.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
#else
    return path.native();
#endif
}

fs::path PathFromUtf8(std::string_view text)
{
#if defined(_WIN32)
    // fs::path(std::string) would read the text in the ANSI code page.
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return fs::path(wide);
#else
    return fs::path(std::string(text));
#endif
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
        return fs::absolute(fs::path(argv0), ec); // argv is in the system's narrow encoding
    return {};
}

} // namespace tabry
