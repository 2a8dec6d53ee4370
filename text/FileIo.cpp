// The platform-neutral part of the file I/O; reading and saving live in
// FileIoPosix.cpp and FileIoWindows.cpp.
#include "text/FileIo.h"
#include "text/FileIoDetail.h"

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
        || name.substr(0, targetName.size()) != targetName
        || name.substr(targetName.size(), kMarker.size()) != kMarker)
        return false;
    for (const char c : name.substr(targetName.size() + kMarker.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

void SetError(std::string* error, std::string_view what, const fs::path& path, std::string_view reason)
{
    if (error == nullptr)
        return;
    *error = std::string(what) + " " + PathText(path) + ": " + std::string(reason);
}

} // namespace detail

std::string PathText(const fs::path& path)
{
#if defined(_WIN32)
    // Unpaired surrogates, which Windows allows in names, become U+FFFD
    // instead of an exception.
    const std::wstring& wide = path.native();
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
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
