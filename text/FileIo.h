#pragma once
// Whole-file reads and atomic whole-file writes. Every file the program saves
// goes through WriteFileAtomically, so a crash or a full disk never leaves a
// half-written tournament, database or report behind.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tabry {

enum class ReadStatus {
    Ok,
    Missing,        // nothing at the path (or a link to nothing)
    NotRegularFile, // a folder, device, pipe or socket
    TooLarge,       // more bytes than the caller's bound
    Failed,         // the system refused to open or read it
};

// Reads the whole of a regular file of at most `maxBytes` bytes into `bytes`.
// Anything else is refused before its bytes are read, so neither an endless
// device nor a huge file can exhaust the memory; a file that grows past the
// bound while it is read is refused too. On failure `bytes` is empty and
// `error`, when given, gets a short English reason naming the path.
ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::uintmax_t maxBytes,
                         std::string* error = nullptr);

// Replaces the file at `path` with `bytes` so that any reader, and the disk
// after a crash at any moment, sees either the old or the new bytes:
//  - a symbolic link is followed: the file it names is replaced and the link
//    stays a link;
//  - a folder, device, pipe or socket is refused and left alone;
//  - the new file gets the old one's permissions (and owner and group where
//    the system allows it); a new file gets the usual ones;
//  - the bytes go to a temporary file beside the target (unnamed until it is
//    complete where the system can do that), are flushed to the disk, and the
//    temporary file is renamed over the target. Temporary files of the same
//    target that an earlier save left behind when it was killed are removed.
// Other hard links of the old file keep the old bytes: the saved name gets a
// new file. On any failure the old file is untouched, no temporary file stays
// and false is returned with a reason naming `path`.
// Without `toDisk` the bytes are handed to the system but not waited for on
// the disk: the replacement is still atomic for every reader and survives
// the program being killed, only not the machine losing power.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr,
                         bool toDisk = true);

// The path as text for a message: UTF-8 on Windows, the path's own bytes
// elsewhere. Never throws, whatever the path holds.
std::string PathText(const std::filesystem::path& path);

// A path from command-line text: on Windows the text is UTF-8 (converted from
// the wide command line), elsewhere the bytes name the file as they are.
std::filesystem::path PathFromUtf8(std::string_view text);

// Full path of the running executable, or an empty path when the system
// cannot tell (then `argv0`, if given, made absolute).
std::filesystem::path ExecutablePath(const char* argv0 = nullptr);

} // namespace tabry
