#pragma once
// Small helpers for the tests: temporary folders, whole-file access and
// readable Shift_JIS literals.

#include <filesystem>
#include <string>
#include <string_view>

namespace tabry::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

std::string ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, std::string_view bytes);

// UTF-8 to Shift_JIS for test literals: S("勝") == "\x8F\x9F".
std::string S(std::string_view utf8);
// Shift_JIS to UTF-8, for readable failure messages.
std::string U(std::string_view sjis);

// Joins lines with CR LF, the line end of every file the program writes.
std::string CrLf(std::initializer_list<std::string_view> lines);

} // namespace tabry::test
