#pragma once
// Byte strings and field lists shared by the file readers and the report
// writers. Everything works on raw bytes: Shift_JIS text passes through
// unchanged because the delimiters used here (comma, blank, tab, CR, LF) never
// occur as the trail byte of a double-byte character.

#include <string>
#include <string_view>
#include <vector>

namespace tabry {

class CFieldList;

// An owned byte string with an explicit length. Lookups and splitting treat it
// as NUL-terminated text: bytes after an embedded NUL are never examined.
class CLineString {
public:
    CLineString() = default;
    explicit CLineString(std::string_view bytes) : m_bytes(bytes) {}

    // Copies `length` bytes; a negative length means "up to the first NUL of
    // `bytes`". A null source or a length of 0 gives the empty string.
    void Assign(const char* bytes, int length);
    void Assign(std::string_view bytes) { m_bytes.assign(bytes); }

    // The byte at `position`, or 0 outside 0 .. Length() - 1.
    char CharAt(int position) const;

    // Byte comparison of the texts up to their terminating NUL.
    bool Equals(std::string_view text) const;
    bool NotEquals(std::string_view text) const { return !Equals(text); }

    int Length() const { return static_cast<int>(m_bytes.size()); }
    bool IsEmpty() const { return m_bytes.empty(); }
    const char* c_str() const { return m_bytes.c_str(); }
    const std::string& str() const { return m_bytes; }
    // The text up to its first NUL, which is what splitting and comparing see.
    std::string_view Text() const;

    // Cuts the text at every `delimiter` into `list` (cleared first) and
    // returns the item count. Empty items between delimiters are kept, a
    // delimiter at the very end adds no item, and with maxCount > 1 the last
    // item takes the rest of the text. Pass -1 for no limit.
    int Split(CFieldList& list, char delimiter, int maxCount) const;

    // As Split, but any run of tab, CR, LF and blank separates items and is
    // skipped, so no empty items arise. With maxCount > 1 the last item takes
    // the rest of the text including inner and trailing white space.
    int SplitWhite(CFieldList& list, int maxCount) const;

    friend bool operator==(const CLineString& a, const CLineString& b) { return a.m_bytes == b.m_bytes; }

private:
    std::string m_bytes;
};

// An ordered list of owned byte strings.
class CFieldList {
public:
    // Appends a copy made with CLineString::Assign(bytes, length); returns the new count.
    int Append(const char* bytes, int length);
    int Append(std::string_view bytes);

    // The item at `index`, or a shared empty string for an index out of range.
    const CLineString& Get(int index) const;
    // Index of the first item equal to `text`, or -1.
    int Find(std::string_view text) const;
    int Count() const { return static_cast<int>(m_items.size()); }
    void Clear();

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<CLineString> m_items;
};

// Removes tab, LF, CR and blank bytes from both ends of `text`, in place.
void TrimSpaces(std::string& text);

// White space as the C library's isspace sees it in the "C" locale: blank,
// tab, LF, VT, FF and CR.
constexpr bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
// `text` without C white space at either end.
std::string_view TrimCSpace(std::string_view text);
// `text` with its ASCII letters upper-cased; other bytes (Shift_JIS among
// them) stay as they are.
std::string AsciiUpper(std::string_view text);

// Reads a decimal integer the way the C library's atoi does: leading white
// space, an optional sign, then digits up to the first other byte; no digits
// give 0. Values beyond the 32-bit range saturate instead of overflowing.
int ParseDecimal(std::string_view text);

// Splits a whole file's bytes into lines. A line ends at LF; a CR right before
// the LF (or at the very end of the data) is not part of the line. Text after
// the last LF forms a final line when it is not empty. Each line is cut at its
// first NUL byte, as a C-string reader would see it.
std::vector<std::string_view> SplitLines(std::string_view data);

// The number (from 1, counted as SplitLines counts) of the first line that
// holds a NUL byte, or 0 when there is none. The file readers refuse such
// data: a NUL byte is never text, and cutting the line there would lose
// whatever follows it without a word.
int FirstLineWithNul(std::string_view data);

} // namespace tabry
