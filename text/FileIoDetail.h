#pragma once
// Pieces of the file I/O that both platform implementations share. Internal
// to the text layer.

#include "text/FileIo.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tabry::detail {

// ".tmp" and eight lower-case hex digits: the suffix a save appends to the
// target's name for its temporary file (the same names every version has used,
// so leftovers of older versions are recognised too).
std::string TemporarySuffix();
bool IsTemporaryNameOf(std::string_view name, std::string_view targetName);

// Fills `error` when it is given.
void SetError(FileError* error, FileStep step, FileProblem problem, const std::filesystem::path& path,
              int systemCode = 0, std::string systemText = {});

} // namespace tabry::detail
