#pragma once
// Where "player.db" is read from and written to: beside the executable, so a
// program folder carried on a stick keeps its players; when that folder is
// not writable (an installed program), in the user's application data folder,
// which starts as a copy of the database beside the executable.

#include <QString>

namespace tabry::app {

struct DatabasePaths {
    QString load; // read at start-up
    QString save; // written at exit when the database changed
};

DatabasePaths ResolveDatabasePaths(const QString& executableDirectory, const QString& userDataDirectory,
                                   bool executableDirectoryWritable);

} // namespace tabry::app
