#pragma once
// Where "player.db" is read from and written to. In a program folder it is
// beside the executable, so a folder carried on a stick keeps its players;
// when that folder is not writable, and always for an installed program
// (app/ProgramLayout.h), it is in the user's application data folder. That
// copy starts from the one shipped with the program (beside the executable,
// or <prefix>/share/torva/player.db when a distributor puts one there) and,
// without one, from an empty database.

#include <QString>

namespace tabry::app {

struct DatabasePaths {
    QString load; // read at start-up (may not exist: an empty database)
    QString save; // written at exit when the database changed
};

DatabasePaths ResolveDatabasePaths(const QString& executableDirectory, const QString& userDataDirectory,
                                   bool executableDirectoryWritable);

} // namespace tabry::app
