#pragma once
// The Japanese of everything that can go wrong with a file: why it could
// not be read or written (from the reason the data side gives, see
// widgets/FileErrorText.h) and what a damaged tournament file was read as.

#include "core/TournamentData.h"

#include <QString>

namespace tabry::app {

// "「PATH」を開けません。\nREASON" for a tournament that was not opened
// (a status other than Ok and Damaged).
QString OpenFailureMessage(const QString& path, const LoadReport& report);
// "「PATH」に保存できません。\nREASON".
QString SaveFailureMessage(const QString& path, const FileError& error);
// "「PATH」に書き込めません。\nREASON" (reports and other outputs).
QString WriteFailureMessage(const QString& path, const FileError& error);

// One line per finding, each naming the line of the file.
QString FindingsText(const ReadFindings& findings);

// The start-up message for a "player.db" that exists but was refused.
QString DatabaseUnreadableMessage(const QString& path, const FileError& error);

} // namespace tabry::app
