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

// What a file function was doing when it failed.
enum class FileStep { None, Open, Read, Save, Create, Write, Replace, CreateFolder };

// Why it failed, in terms a user can act on. The system's own code and
// words travel along in FileError for whatever the codes do not cover.
enum class FileProblem {
    None,
    Missing,            // nothing at the path
    Folder,             // a folder stands at the path
    NotRegular,         // a device, pipe or socket
    TooLarge,           // more than FileError::limit bytes
    NoPermission,       // the system does not allow it
    ReadOnlyVolume,     // the disk or share is mounted read-only
    ReadOnlyFile,       // the file is marked read-only
    DiskFull,           // no room left (or the quota is used up)
    FolderMissing,      // the folder the file goes into does not exist
    NotAFolderOnPath,   // a file stands where the path needs a folder
    HeldByOtherProgram, // another program holds the file and does not let it be replaced
    NulByte,            // line FileError::line holds a NUL byte: a damaged file
    Refused,            // the program itself declines (see the function)
    Other,              // see systemCode and systemText
};

// A failed file operation: what, where and why. Readers of text files add
// the line; the desktop program words it in Japanese, torva-cli in English
// (FileErrorText), each in one place.
struct FileError {
    FileStep step = FileStep::None;
    FileProblem problem = FileProblem::None;
    std::filesystem::path path;
    int systemCode = 0;       // errno, or GetLastError() on Windows; 0 when the system said nothing
    std::string systemText;   // the system's own words (English), may be empty
    std::uintmax_t limit = 0; // TooLarge: the bound in bytes
    int line = 0;             // NulByte: the line, from 1

    explicit operator bool() const { return problem != FileProblem::None; }
};

// "cannot read PATH: REASON": the English of a failure, for torva-cli and
// for logs.
std::string FileErrorText(const FileError& error);

// Reads the whole of a regular file of at most `maxBytes` bytes into `bytes`.
// Anything else is refused before its bytes are read, so neither an endless
// device nor a huge file can exhaust the memory; a file that grows past the
// bound while it is read is refused too. On failure `bytes` is empty and
// `error`, when given, says why.
ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::uintmax_t maxBytes,
                         FileError* error = nullptr);
// The same with the reason as English text (FileErrorText).
ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::uintmax_t maxBytes,
                         std::string* error);

// What a file held when this program last read or wrote it: whether it was
// there, its size, its modification time and a hash of its bytes. Two
// stamps of the same bytes compare equal whatever the time says.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0; // nanoseconds of the file clock; for messages, not for comparing
    std::uint64_t hash = 0;

    bool SameContent(const FileStamp& other) const
    {
        return exists == other.exists && size == other.size && hash == other.hash;
    }
};
// A 64-bit FNV-1a hash of `bytes`: the same on every system and run.
std::uint64_t ContentHash(std::string_view bytes);
// The stamp of `bytes`, just read from or written to `path`.
FileStamp StampOf(const std::filesystem::path& path, std::string_view bytes);
// The stamp of the file at `path` as it is now (not there: exists false);
// a file larger than `maxBytes` or unreadable stamps with hash 0 and its
// size, so it never compares equal to a file that was read.
FileStamp StampOnDisk(const std::filesystem::path& path, std::uintmax_t maxBytes);

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
// and false is returned with the reason.
// Without `toDisk` the bytes are handed to the system but not waited for on
// the disk: the replacement is still atomic for every reader and survives
// the program being killed, only not the machine losing power.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileError* error = nullptr,
                         bool toDisk = true);
// The same with the reason as English text (FileErrorText).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error,
                         bool toDisk = true);

// Makes the folder `folder` and the folders above it that are missing; true
// when it is there afterwards, else false with the reason.
bool CreateFolders(const std::filesystem::path& folder, FileError* error = nullptr);

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
