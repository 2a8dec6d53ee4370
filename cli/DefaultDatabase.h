#pragma once
// Which "player.db" torva-cli uses when --db is not given. In a program
// folder (the build tree, a folder on a stick) it is the one beside
// torva-cli, as it always was. An installed torva-cli (<prefix>/bin beside
// <prefix>/share/torva, the Debian package's layout) uses the desktop
// program's database in the user's data folder instead, so both programs
// see the same players and neither writes into the system's folders:
// $XDG_DATA_HOME/qelt/TORVA/player.db, by default
// ~/.local/share/qelt/TORVA/player.db. Until the desktop program has
// written it, that database is missing, which means only the bye record.

#include <filesystem>

namespace tabry::cli {

std::filesystem::path DefaultDatabasePath(const std::filesystem::path& executable);

} // namespace tabry::cli
