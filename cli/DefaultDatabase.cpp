#include "cli/DefaultDatabase.h"

#include <cstdlib>
#include <system_error>

namespace tabry::cli {

namespace fs = std::filesystem;

#if !defined(_WIN32)
namespace {

// The user's data folder as the desktop program's Qt finds it on a
// freedesktop system; empty when the environment names none.
fs::path UserDataHome()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && fs::path(xdg).is_absolute())
        return fs::path(xdg);
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return fs::path(home) / ".local" / "share";
    return {};
}

} // namespace
#endif

fs::path DefaultDatabasePath(const fs::path& executable)
{
    if (executable.empty())
        return "player.db";
    const fs::path dir = executable.parent_path();
#if !defined(_WIN32)
    std::error_code ec;
    if (dir.filename() == "bin" && fs::is_directory(dir.parent_path() / "share" / "torva", ec)) {
        const fs::path data = UserDataHome();
        if (!data.empty())
            return data / "qelt" / "TORVA" / "player.db";
    }
#endif
    return dir / "player.db";
}

} // namespace tabry::cli
