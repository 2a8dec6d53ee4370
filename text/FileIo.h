#pragma once
// Whole-file reads and atomic whole-file writes. Every file the program saves
// goes through WriteFileAtomically, so a crash or a full disk never leaves a
// half-written tournament, database or report behind.

#include <filesystem>
#include <string>
#include <string_view>

namespace tabry {

// Reads the whole file into `bytes`. On failure returns false and, when
// `error` is given, a short English reason (with the system's message).
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::string* error = nullptr);

// Writes `bytes` to a temporary file in the target's folder, flushes it to the
// disk and renames it over `path`. On any failure the old file is untouched,
// the temporary file is removed and false is returned with a reason.
// Without `toDisk` the bytes are handed to the system but not waited for on
// the disk: the rename is still atomic for every reader and survives the
// program being killed, only not the machine losing power.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr,
                         bool toDisk = true);

// Full path of the running executable, or an empty path when the system
// cannot tell (then `argv0`, if given, made absolute).
std::filesystem::path ExecutablePath(const char* argv0 = nullptr);

} // namespace tabry
