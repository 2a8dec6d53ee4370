#pragma once
// The English of torva-cli, in one place: why a file could not be read or
// written, what a damaged file was read as, and why the editor refused a
// change. The codes come from the data side; the desktop program words the
// same codes in Japanese.

#include "core/TournamentData.h"
#include "edit/EditRefusal.h"

#include <filesystem>
#include <string>

namespace tabry::cli {

// Why `file` was not opened, for a status other than Ok, naming the file
// once: "FILE: the file is empty, not a tournament file".
std::string LoadFailureText(const std::filesystem::path& file, const LoadReport& report);

// What `finding` read differently: "player line has 41 fields, 42 expected;
// row 56 read as empty". Rows are numbered from 1, as the program shows them.
std::string FindingText(const ReadFinding& finding);

// "torva-cli: FILE:LINE: FINDING" on standard error for each finding.
void WarnFindings(const std::filesystem::path& file, const ReadFindings& findings);

// Why the editor refused a change.
std::string RefusalText(const EditRefusal& refusal);

} // namespace tabry::cli
